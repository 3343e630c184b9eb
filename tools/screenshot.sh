#!/usr/bin/env bash
# Builds kolvio and saves a picture of the navigator to docs/navigator.png:
# the picture of the README and of the package's AppStream metainfo.
#
# The program runs on a fresh program folder (KOLVIO_HOME in a temporary
# directory, so a new database is made there and the window has its
# reference size, 632 x 430) under a private Xvfb display with the openbox
# window manager, as a rider's desktop places it, and grabs its own main
# window once the navigator is painted (the option --screenshot FILE).
# BUILD_DIR names another build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
out=$PWD/docs/navigator.png
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target kolvio

tmp=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(head -n 1 "$tmp/display")
export DISPLAY
openbox --startup "touch $tmp/wm-ready" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "$tmp/wm-ready" ] && break; sleep 0.1; done
[ -e "$tmp/wm-ready" ] || { echo "openbox did not start" >&2; exit 1; }

# The pointer away from the window, so that no button is lit and the status
# bar shows no hint.
xdotool mousemove 1279 799

mkdir "$tmp/home"
KOLVIO_HOME="$tmp/home" "$build/src/main/kolvio" --screenshot "$out"
size=$(file -b "$out" | grep -oE '[0-9]+ x [0-9]+')
[ "$size" = "632 x 430" ] || { echo "the picture is $size, not 632 x 430" >&2; exit 1; }
echo "docs/navigator.png"
