#!/usr/bin/env bash
# Builds the Debian package of KOLVIO from the RelWithDebInfo build in
# build/ (BUILD_DIR names another) and prints its path:
#   build/package/kolvio_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# CPack installs from a complete build (its install step builds every target).
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/package/kolvio_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/package/kolvio_*.deb
