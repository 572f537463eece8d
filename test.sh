#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
#   ./test.sh        a gcc build in build/, the benchmarks included
#   ./test.sh --ci   how CI calls it: one clang build in build-asan/ with AddressSanitizer,
#                    UndefinedBehaviorSanitizer and the fuzzer's coverage, the benchmarks
#                    and the fuzz targets included. Every test runs under the sanitizers,
#                    and CI's fuzz stage reuses the same build: building the code twice
#                    would double CI's wait on a small machine.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh "$@"
source scripts/ccache-env.sh
if [ "${1:-}" = "--ci" ]; then
  # -O1 with line tables keeps it quick to build and to run, with full stack traces.
  CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON \
    -DVELMORA_BENCH=ON >/dev/null
  cmake --build build-asan
  source scripts/sanitizer-env.sh
  QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
else
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_BENCH=ON >/dev/null
  cmake --build build
  QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
fi
