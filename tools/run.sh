#!/usr/bin/env bash
# Builds KOLVIO and starts it on its default database.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/src/main/kolvio ]; then
    exec build/src/main/kolvio "$@"
fi
# Until the desktop program is built, the command-line tool opens (or creates)
# the default database and lists its tables.
mkdir -p DATA
build/kolvio-db open DATA 2>/dev/null || true
for t in DATA/*.dbf; do [ -e "$t" ] && build/kolvio-db dump "$t"; done
