#!/usr/bin/env bash
# Installs what is needed, builds and runs the whole test suite: once plainly, once under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the result-file fuzzer for a while.
#   FUZZ_SECONDS=<n> (default 20 per target) bounds the fuzzing; 0 skips it. Longer runs:
#   tools/ci-fuzz.sh 600.
#   NEWCOMER=0 skips the check of a newcomer's first run (tools/ci-newcomer.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
fuzz=${FUZZ_SECONDS:-20}
if ! [[ $fuzz =~ ^[0-9]+$ ]]; then
    echo "FUZZ_SECONDS must be a number of seconds, not '$fuzz'" >&2
    exit 2
fi
"$top/tools/deps.sh"
jobs=$(nproc)
# Rebuilds of an unchanged file come from the compiler cache (paths relative to the tree).
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=$top
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

passed=0
failed=0
run_suite() {
    local dir=$1
    shift
    cmake -S "$top" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    local status=0
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs") \
        | tee "$dir/ctest.log" || status=$?
    # "100% tests passed, 0 tests failed out of 260"
    local line total bad
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$dir/ctest.log" | tail -n 1)
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + ${total:-0} - ${bad:-0}))
    failed=$((failed + ${bad:-0}))
    return "$status"
}

run_suite "$top/build-test" -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions='$top/tools/lsan.supp'" \
    UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVELTRANA_SANITIZE=ON -DVELTRANA_BENCH=OFF

if [ "${NEWCOMER:-1}" != 0 ]; then
    if "$top/tools/ci-newcomer.sh"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "tests: $passed passed, $failed failed"
        exit 1
    fi
fi

if [ "$fuzz" -gt 0 ]; then
    bash "$top/tools/ci-fuzz.sh" "$fuzz"
fi
echo "tests: $passed passed, $failed failed"
