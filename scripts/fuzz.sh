#!/usr/bin/env bash
# Runs each libFuzzer target of a fuzz build for a while, seeded with the
# example decks and the test data:
#     scripts/fuzz.sh [BUILD_DIR] [SECONDS]      (default build/fuzz, 60)
# New inputs go to BUILD_DIR/corpus/<target>; the seed folders are only read.
# Exits non-zero as soon as a target finds a crash (its input is kept in
# BUILD_DIR/crashes).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
seconds=${2:-60}
corpus="$build/corpus"
crashes="$build/crashes"
mkdir -p "$corpus/fuzz_deck_reader" "$corpus/fuzz_results_reader" "$corpus/results_seeds" "$crashes"

# The results reader's input is six header bytes (first and last cantilever
# slot, arch count, centres and missing files, length of the .PLT) followed
# by the .PLT and the .OUT.
results_seed() {
    local plt=$1 out=$2 first=$3 last=$4 arches=$5 flags=$6 name=$7
    local n
    n=$(wc -c < "$plt")
    {
        printf "\\$(printf %03o "$first")\\$(printf %03o "$last")\\$(printf %03o "$arches")"
        printf "\\$(printf %03o "$flags")\\$(printf %03o $((n >> 8)))\\$(printf %03o $((n & 255)))"
        cat "$plt" "$out"
    } > "$corpus/results_seeds/$name"
}
results_seed tests/data/results/VELTA0.PLT tests/data/results/VELTA0.OUT 18 4 3 0 velta0
results_seed tests/data/results/VELTA0.PLT tests/data/results/results_case.OUT 18 4 3 1 two_centres
results_seed tests/data/results/VELTA0.PLT tests/data/results/VELTA0.OUT 0 40 11 4 no_out

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

# The full output of each target is in BUILD_DIR/<target>.log; on success
# its summary lines are shown, on a failure its last hundred lines.
run_target() {
    local target=$1 status=0
    shift
    echo "== $target for $seconds s"
    "$build/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$crashes/$target-" "$corpus/$target" "$@" > "$build/$target.log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 100 "$build/$target.log"
        echo "$target failed (status $status); the input is in $crashes" >&2
        return "$status"
    fi
    grep -E "^INFO: seed corpus|^#[0-9]+[[:space:]]+(INITED|DONE)|^Done|^stat::(number_of_executed_units|new_units_added)" \
        "$build/$target.log" || true
}
run_target fuzz_deck_reader examples tests/data/decks
run_target fuzz_results_reader "$corpus/results_seeds"
