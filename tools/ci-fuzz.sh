#!/usr/bin/env bash
# Fuzzes the result-file reader for a bounded time: tools/ci-fuzz.sh [seconds, default 60].
# Builds only the fuzz target, with clang, in its own build directory. Exits non-zero when
# libFuzzer reports a crash, a sanitizer finding, a timeout or running out of memory.
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [[ "$seconds" -eq 0 ]]; then
    echo "usage: $0 [seconds]" >&2
    exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELTRANA_FUZZ_BUILD_DIR:-$root/build-fuzz}"
seeds="$root/plots/result/tests/data"

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DVELTRANA_FUZZ=ON \
    -DVELTRANA_BENCH=OFF
cmake --build "$build" --target fuzz_result_reader --parallel 2

# New inputs go to the working corpus, never into the sample files.
corpus="$build/fuzz/corpus"
artifacts="$build/fuzz/artifacts"
mkdir -p "$corpus" "$artifacts"

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
"$build/plots/result/fuzz/fuzz_result_reader" \
    -max_total_time="$seconds" \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -max_len=16384 \
    -print_final_stats=1 \
    -artifact_prefix="$artifacts/" \
    "$corpus" "$seeds"
