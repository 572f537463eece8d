#!/usr/bin/env bash
# Installs what is missing, builds in build/ (with the benchmarks) and runs every test
# headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh "$@"
source scripts/ccache-env.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_BENCH=ON >/dev/null
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
