#!/usr/bin/env bash
# Installs what is missing, builds and starts the exam program.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_TESTS=OFF >/dev/null
cmake --build build --target tallisk

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  cat >&2 <<'MSG'
tallisk is built (build/exam/tallisk), but there is no display to show its window on.
Start it from a desktop session, or under a virtual X server:

  Xvfb :99 -screen 0 1024x768x24 &
  DISPLAY=:99 ./run.sh

MSG
  exit 1
fi

exec ./build/exam/tallisk "$@"
