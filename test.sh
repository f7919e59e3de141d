#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (address and undefined-behaviour
# sanitizers on), runs the fuzz targets for a bounded time and every test through CTest.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh --test

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAV_SANITIZE=ON >/dev/null
cmake --build build-test

# The fuzz targets first, so that CTest's summary closes the run.
if [[ -x fuzz/run.sh ]]; then
  fuzz/run.sh
fi

ctest --test-dir build-test --output-on-failure --timeout 600 -j 2
