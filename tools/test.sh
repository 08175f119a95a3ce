#!/usr/bin/env bash
# Installs what is needed, builds and runs the whole test suite: once plainly, once under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the result-file fuzzer for a while.
#   FUZZ_SECONDS=<n> (default 60) bounds the fuzzing; 0 skips it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh"
jobs=$(nproc)

run_suite() {
    local dir=$1
    shift
    cmake -S "$top" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
}

run_suite "$top/build-test" -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVELTRANA_SANITIZE=ON -DVELTRANA_BENCH=OFF

fuzz=${FUZZ_SECONDS:-60}
if [ "$fuzz" -gt 0 ] && [ -x "$top/tools/ci-fuzz.sh" ]; then
    "$top/tools/ci-fuzz.sh" "$fuzz"
fi
