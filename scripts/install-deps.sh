#!/usr/bin/env bash
# Installs the Debian packages that building and running need. With "--test" it adds what the
# test suite needs (X server and a window manager for the end-to-end tests, xdotool, the
# accessibility bus for the screen-reader test, a Wayland compositor and Qt's Wayland platform,
# the PDF tools that check printed sheets, clang for the fuzz target, Qt Designer).
# Only packages that are missing are installed; apt-get runs as root or through sudo.
set -euo pipefail

runtime_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6sql6-sqlite
  libgl-dev
  libxcb1-dev # the library asks the X server whether a window manager runs
  fonts-arphic-uming fonts-dejavu-core
  qt6-translations-l10n
  python3 # writes the plain-Qt copy of the exam window for bench_windowlook
  libqt6printsupport6 # printed sheets (Ctrl+P, --sheet)
  qt6-tools-dev libqt6opengl6-dev # the Designer plugin and QUiLoader (their CMake files want OpenGL)
)
test_packages=(
  xvfb xauth xdotool x11-utils imagemagick openbox
  clang libclang-rt-14-dev
  poppler-utils # pdfinfo and pdftoppm check the printed sheets
  dbus at-spi2-core python3-pyatspi # the screen-reader end-to-end test
  weston qt6-wayland # the Wayland end-to-end test (a compositor inside Xvfb, Qt's Wayland platform)
  designer-qt6 # Qt Designer, started with the style plugin by an end-to-end test
)

packages=("${runtime_packages[@]}")
if [[ "${1:-}" == "--test" ]]; then
  packages+=("${test_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "error: these packages are missing and I cannot install them (not root, no sudo):" >&2
  echo "  ${missing[*]}" >&2
  echo "Install them as root with: apt-get install ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
  # A fresh machine often has no package lists yet.
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}" || {
    echo "error: apt-get could not install: ${missing[*]}" >&2
    exit 1
  }
fi
