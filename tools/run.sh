#!/usr/bin/env bash
# Builds KOLVIO and starts it on its default database.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kolvio
exec build/src/main/kolvio "$@"
