#!/usr/bin/env bash
# A newcomer's first run, checked: a clean clone of the committed tree, the install part of
# the README's first command (tools/run.sh without starting veltra) into a temporary family
# directory, then what must be there, then veltra and plots started offscreen.
#   tools/ci-newcomer.sh [seconds each program must stay up, default 5]
# Nothing outside a temporary folder is touched: the settings store and HOME point into it.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
alive=${1:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/veltrana-newcomer-XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
check() { # check <what> <command...>
    local what=$1
    shift
    if "$@"; then
        echo "  ok      $what"
    else
        echo "  FAILED  $what"
        failures=$((failures + 1))
    fi
}

echo "== clean clone of $(git -C "$top" rev-parse --short HEAD) into $work/src"
git clone -q --no-hardlinks "$top" "$work/src" || exit 1

family="$work/family"
echo "== FAMILY=$family VELTRANA_INSTALL_ONLY=1 tools/run.sh"
if ! (cd "$work/src" && FAMILY="$family" VELTRANA_INSTALL_ONLY=1 ./tools/run.sh </dev/null); then
    echo "  FAILED  tools/run.sh did not build and install the suite"
    exit 1
fi

echo "== installed programs"
for program in Veltr.hz/veltra plots optimiser import-data List/list; do
    check "\$Quillon/$program is an executable" test -f "$family/$program" -a -x "$family/$program"
done
check "import-data --help prints its usage" sh -c "'$family/import-data' --help | grep -q '^usage: import-data'"

echo "== example files in the user directory"
user="$family/Veltr.hz/User"
examples=()
[ -d "$user" ] && mapfile -t examples < <(find "$user" -maxdepth 1 -type f -name 'Ex-*' | sort)
check "seven example files Ex-* (found ${#examples[@]})" test "${#examples[@]}" -eq 7
for f in "${examples[@]}"; do
    check "$(basename "$f") is read-only (no write bit)" \
        test -z "$(find "$f" -perm /222)"
done

echo "== manual"
check "\$Quillon/Veltr.hz/manual.html exists and is not empty" test -s "$family/Veltr.hz/manual.html"

# Each program must still be running after $alive seconds (timeout's status 124) and have
# printed nothing but the offscreen platform's notes.
starts() { # starts <program path>
    local log="$work/$(basename "$1").stderr" status
    mkdir -p "$work/home"
    mkdir -p -m 700 "$work/runtime"
    env -i PATH="$PATH" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
        XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
        Quillon="$family" VELTRANA_REGISTRY="$work/registry" \
        timeout -s TERM "$alive" "$1" </dev/null >/dev/null 2>"$log"
    status=$?
    grep -vE 'propagateSizeHints|This plugin does not support' "$log" >"$log.errors"
    if [ "$status" -ne 124 ]; then
        echo "          ended by itself with status $status before $alive s"
        sed 's/^/          | /' "$log"
        return 1
    fi
    if [ -s "$log.errors" ]; then
        echo "          printed:"
        sed 's/^/          | /' "$log.errors"
        return 1
    fi
}
echo "== programs start offscreen and run until stopped after $alive s"
check "veltra starts and runs without errors" starts "$family/Veltr.hz/veltra"
check "plots starts and runs without errors" starts "$family/plots"

if [ "$failures" -gt 0 ]; then
    echo "newcomer check: $failures FAILED"
    exit 1
fi
echo "newcomer check: all passed"
