#!/usr/bin/env bash
# Lays out a family directory from a build: <family>/Veltr.hz/veltra with its User
# directory, the text viewer <family>/List/list, <family>/plots, <family>/optimiser and
# <family>/import-data, the manual and the example problems.
#   install-family.sh <build-dir> <family-dir>
set -euo pipefail
build=$1
family=$2
mkdir -p "$family/Veltr.hz/User"
install -m 755 "$build/veltra/veltra" "$family/Veltr.hz/veltra"
for program in plots/plots optimiser/optimiser import/import-data; do
    if [ -x "$build/$program" ]; then
        install -m 755 "$build/$program" "$family/$(basename "$program")"
    fi
done

# The user manual, for Help > Manual.
if [ -f "$build/docs/manual.html" ]; then
    install -m 644 "$build/docs/manual.html" "$family/Veltr.hz/manual.html"
fi

# The seven example problems of the Demos tab, read-only in the user directory.
for example in "$(dirname "$0")"/../optimiser/examples/Ex-*; do
    install -m 444 "$example" "$family/Veltr.hz/User/$(basename "$example")"
done

# The viewer lives in List beside the program directory, where veltra looks for it.
install -D -m 755 "$build/list/list" "$family/List/list"

# Window icons and the desktop entries of the three programs, with this family's paths; the
# MIME type lets the desktop open listings (".Out", "~Veltra.out": any case) with the viewer.
# tools/run.sh hands them to the desktop; a family laid out for tests stays to itself.
here="$(dirname "$0")"
install -d "$family/icons" "$family/desktop"
family_abs=$(cd "$family" && pwd)
# A desktop entry's command line would need escapes of its own for these.
case $family_abs in
*[%\"\$\`\\]*)
    echo "install-family: the family directory's path may not hold % \" \$ \` or \\: $family_abs" >&2
    exit 1
    ;;
esac
# sed would take "&", "|" and "\" in the path for its own.
family_sed=$(printf '%s' "$family_abs" | sed -e 's/[\\&|]/\\&/g')
for program in veltra plots list; do
    install -m 644 "$here/../common/widgets/icons/$program.png" "$family/icons/$program.png"
    sed "s|@FAMILY@|$family_sed|g" "$here/desktop/veltrana-$program.desktop.in" \
        >"$family/desktop/veltrana-$program.desktop"
done
install -m 644 "$here/desktop/veltrana-listing.xml" "$family/desktop/veltrana-listing.xml"
