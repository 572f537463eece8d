#!/usr/bin/env bash
# Installs what is missing, builds in build/ and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh "$@"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
