#!/usr/bin/env bash
# Installs the Debian packages the build needs, checking first so that a
# second run installs nothing. Run as root (or with sudo available).
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build
  qt6-base-dev qt6-base-dev-tools libgl-dev
  xvfb xauth                            # headless screenshots and the start-up benchmark
  fonts-dejavu-core fonts-liberation2   # a sans-serif face and metric twins of Arial
  qt6-tools-dev libqt6opengl6-dev       # the Qt Designer plugin and its form-loader test
  desktop-file-utils appstream          # validators of the installed menu entry and metainfo
  dpkg-dev                              # cpack's .deb: dependencies of the program file
  clang libclang-rt-14-dev              # the fuzz targets (libFuzzer), run by scripts/test.sh
  dbus at-spi2-core python3-pyatspi xdotool  # the screen-reader test: accessibility bus, client, keys
  weston qt6-wayland                    # the game started under a headless Wayland compositor
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
