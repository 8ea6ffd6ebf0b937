#!/usr/bin/env bash
# Installs what is missing, then builds and checks VELTA in three
# configurations, one after another (each uses every core):
#   1. build/release-werror: Release, warnings are errors, the benchmarks
#      built (not run); every test runs here too, without sanitizers.
#   2. build/fuzz: clang, the two libFuzzer targets, each run for
#      VELTA_FUZZ_SECONDS (60) seconds seeded with the examples and test data.
#   3. build/test: AddressSanitizer and UndefinedBehaviorSanitizer, every test
#      with CTest. Its summary is the last thing printed.
# Any failure stops the script with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
velta_ensure_packages

jobs=$(nproc)
fuzz_seconds=${VELTA_FUZZ_SECONDS:-60}
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
export QT_QPA_PLATFORM=offscreen

step() { echo; echo "==== $* ($(date +%T))"; }

step "Release build, warnings as errors, benchmarks built"
cmake -S . -B build/release-werror -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release -DVELTA_WERROR=ON \
    -DVELTA_BUILD_BENCH=ON -DVELTA_BUILD_DOCS=OFF
cmake --build build/release-werror -j"$jobs"
(cd build/release-werror && ctest -j"$jobs" --timeout 600 --output-on-failure)

step "libFuzzer targets (clang), ${fuzz_seconds} s each"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja "${launcher[@]}" -DVELTA_BUILD_FUZZ=ON \
    -DVELTA_BUILD_GUI=OFF -DVELTA_BUILD_TESTS=OFF -DVELTA_BUILD_DOCS=OFF \
    -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
cmake --build build/fuzz -j"$jobs" --target fuzz_deck_reader fuzz_results_reader
scripts/fuzz.sh build/fuzz "$fuzz_seconds"

step "AddressSanitizer and UndefinedBehaviorSanitizer build, every test"
build=build/test
cmake -S . -B "$build" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug -DVELTA_SANITIZE=ON \
    -DVELTA_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g"
cmake --build "$build" -j"$jobs"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j"$jobs" --timeout 600
