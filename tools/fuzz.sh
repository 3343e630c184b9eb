#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (in build-fuzz, apart from the
# g++ builds) and runs each for SECONDS (default 60), one after another.
#
#   tools/fuzz.sh [SECONDS] [HARNESS...]      e.g. tools/fuzz.sh 600 sql_front
#
# Each harness starts from its committed seeds (tests/fuzz/corpus/NAME) and
# keeps what it learns in build-fuzz/corpus/NAME for the next run. A crash,
# hang, leak or broken guarantee stops that harness, leaves the input in
# build-fuzz/findings/NAME/ and makes the script fail; copy the input into
# the committed corpus and fix the reader, so that the normal test run
# replays it from then on.
#
# FUZZ_SEED=N makes the inputs tried the same on every run (the test command
# sets it, so that a finding there can be repeated); unset, each run tries
# new ones.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
build=build-fuzz

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKOLVIO_FUZZ=ON -DKOLVIO_GUI=OFF -DKOLVIO_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kolvio_fuzzers

if [ $# -gt 0 ]; then
    harnesses=("$@")
else
    harnesses=()
    for source in tests/fuzz/fuzz_*.cpp; do
        name=${source#tests/fuzz/fuzz_}
        harnesses+=("${name%.cpp}")
    done
fi

failed=0
for name in "${harnesses[@]}"; do
    work=$build/corpus/$name
    findings=$build/findings/$name
    log=$build/logs/$name.log
    mkdir -p "$work" "$findings" "$(dirname "$log")"
    dict=()
    if [ -f "tests/fuzz/$name.dict" ]; then dict=(-dict="tests/fuzz/$name.dict"); fi
    if "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -malloc_limit_mb=512 -print_final_stats=1 \
        -seed="${FUZZ_SEED:-0}" -artifact_prefix="$findings/" "${dict[@]}" "$work" "tests/fuzz/corpus/$name" \
        >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "$name: ${runs:-?} executions in ${seconds} s, no finding"
    else
        failed=1
        echo "$name: FINDING (log: $log, input in $findings/)"
        grep -E 'ERROR|guarantee broken|SUMMARY|Test unit written' "$log" | head -20 || true
    fi
done
exit $failed
