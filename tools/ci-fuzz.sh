#!/usr/bin/env bash
# Fuzzes every reader of outside data for a bounded time each:
#   tools/ci-fuzz.sh [seconds per target, default 60] [target...]
# Builds the libFuzzer programs with clang in their own build directory, seeds each with the
# project's sample files, and runs them one after another. Exits non-zero when any reports a
# crash, a sanitizer finding, a timeout or running out of memory; its input is then kept in
# build-fuzz/fuzz/<target>/artifacts/ (copy it into the target's fuzz/regression/ folder once
# the fault is mended, so that every test run checks it).
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [[ "$seconds" -eq 0 ]]; then
    echo "usage: $0 [seconds] [target...]" >&2
    exit 2
fi
shift || true

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELTRANA_FUZZ_BUILD_DIR:-$root/build-fuzz}"

# target, then the folders of its seeds (missing folders are skipped)
declare -A seeds=(
    [fuzz_input_file]="$root/veltra/model/fuzz/seeds/input $root/veltra/model/tests/data $root/veltra/model/fuzz/regression/input $root/optimiser/examples"
    [fuzz_product_ini]="$root/veltra/model/fuzz/seeds/ini $root/veltra/model/fuzz/regression/ini"
    [fuzz_registry_format]="$root/common/tests/data $root/common/fuzz/regression"
    [fuzz_result_reader]="$root/plots/result/tests/data $root/plots/result/fuzz/regression"
    [fuzz_touchstone]="$root/import/readers/tests/data $root/import/readers/fuzz/regression/touchstone"
    [fuzz_text_table]="$root/import/readers/tests/data $root/import/readers/fuzz/regression/table"
)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_input_file fuzz_product_ini fuzz_registry_format fuzz_result_reader
                                     fuzz_touchstone fuzz_text_table)

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DVELTRANA_FUZZ=ON \
    -DVELTRANA_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" --parallel 2

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
failed=()
for target in "${targets[@]}"; do
    program=$(find "$build" -type f -name "$target" -perm -u+x | head -n 1)
    work="$build/fuzz/$target"
    mkdir -p "$work/corpus" "$work/artifacts"
    dirs=()
    for d in ${seeds[$target]}; do
        [ -d "$d" ] && dirs+=("$d")
    done
    echo "== $target: ${seconds} s, seeds from ${dirs[*]#$root/}"
    # New inputs go to the working corpus, never into the repository's folders.
    if ! "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "${dirs[@]}" \
        2>"$work/log"; then
        tail -n 40 "$work/log"
        failed+=("$target")
    fi
    grep -E '^(stat::number_of_executed_units|stat::new_units_added)' "$work/log" || true
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $build/fuzz/<target>/artifacts/)"
    exit 1
fi
echo "fuzzing: ${#targets[@]} targets, ${seconds} s each, no findings"
