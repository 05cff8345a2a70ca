#!/usr/bin/env bash
# Set-up, build, run and test Tavoret on Debian 12.
#   scripts/dev.sh run    install what is missing, build, start Tavoret
#   scripts/dev.sh test   install what is missing, build (plain and with sanitizers), run all tests
#   scripts/dev.sh build  install what is missing and build only
#   scripts/dev.sh package  install what is missing, build, make the Debian package with CPack
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
          xvfb xauth xdotool xclip imagemagick python3-fonttools fonts-dejavu-core fonts-liberation
          xdg-utils libxcb1-dev libxcb-damage0-dev x11-utils unrtf
          dpkg-dev file lintian desktop-file-utils appstream gtk-update-icon-cache)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

build() { # build <dir> [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "${1:-}" in
  run)
    install_missing
    build build
    exec ./build/tavoret "${@:2}"
    ;;
  build)
    install_missing
    build build
    ;;
  test)
    install_missing
    build build
    ctest --test-dir build --output-on-failure -j "$jobs"
    build build-san -DTAVORET_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DTAVORET_BENCH=OFF
    ctest --test-dir build-san --output-on-failure -j "$jobs"
    ;;
  package)
    install_missing
    build build
    (cd build && cpack -G DEB)
    ;;
  *)
    sed -n '2,7p' "$0"; exit 2 ;;
esac
