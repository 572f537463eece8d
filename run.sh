#!/usr/bin/env bash
# Installs what is missing, builds in build/ and starts Velmora.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh --run
source scripts/ccache-env.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target velmora
exec build/app/velmora "$@"
