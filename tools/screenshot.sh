#!/usr/bin/env bash
# Builds kolvio and saves a picture of the navigator to docs/navigator.png.
# The program runs under Xvfb on a fresh program folder (KOLVIO_HOME in a
# temporary directory, so a new database is made there) and grabs its own
# main window (the hidden option --screenshot FILE), so no extra tools are
# needed. BUILD_DIR names another build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target kolvio
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# A roomier window than the default 632 x 430.
printf '[Okno]\nState=2\nLeft=0\nTop=0\nWidth=760\nHeight=540\n' >"$home/kolvio.ini"
KOLVIO_HOME="$home" xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build/src/main/kolvio" --screenshot "$PWD/docs/navigator.png"
echo "docs/navigator.png"
