#!/usr/bin/env bash
# Builds everything and runs every test twice: once built with
# AddressSanitizer and UndefinedBehaviorSanitizer (the screens included, so
# that a screen using a table after it is gone fails a test), then the whole
# suite of the optimised build, after the Debian package of that build has
# been made and checked (tools/check-package.sh); then each fuzzing harness
# for a short while (tools/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOLVIO_SANITIZE=ON \
      -DKOLVIO_GUI=ON -DKOLVIO_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
# Leaks of the libraries below Qt (fonts, the platform plugin) are theirs.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/tools/lsan.supp" \
UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE interop

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
# The Debian package, made from this build and checked unpacked.
tools/check-package.sh
ctest --test-dir build --output-on-failure -j"$jobs"

FUZZ_SEED=1 tools/fuzz.sh 10
