#!/usr/bin/env bash
# Shared steps of run.sh and test.sh: install what is missing, configure, build.
set -euo pipefail

ORBILO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${ORBILO_BUILD_DIR:-$ORBILO_ROOT/build}"

# Debian packages the build, the tests and the program need.
ORBILO_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libgif-dev libzip-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fontconfig
  xvfb openbox xdotool
  dpkg-dev desktop-file-utils appstream
  gdal-bin
)

missing_packages() {
  local pkg missing=()
  for pkg in "${ORBILO_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  echo "${missing[@]:-}"
}

install_packages() {
  local missing
  missing="$(missing_packages)"
  [ -z "$missing" ] && return 0
  echo "Installing missing packages: $missing"
  local apt=(apt-get)
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      apt=(sudo apt-get)
    else
      echo "Please install these Debian packages as root: $missing" >&2
      exit 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  # shellcheck disable=SC2086
  if ! { "${apt[@]}" update -qq && "${apt[@]}" install -y -qq $missing; }; then
    echo "Could not install the packages. Please install them by hand: $missing" >&2
    exit 1
  fi
}

configure_and_build() {
  if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$ORBILO_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release
  fi
  cmake --build "$BUILD_DIR" --parallel "$(nproc)"
}
