#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (address and undefined-behaviour
# sanitizers on) and runs every test through CTest, then the fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh --test

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAV_SANITIZE=ON >/dev/null
cmake --build build-test
ctest --test-dir build-test --output-on-failure --timeout 600 -j 2

if [[ -x fuzz/run.sh ]]; then
  fuzz/run.sh
fi
