#!/usr/bin/env bash
# Set-up, build, run and test Tavoret on Debian 12.
#   scripts/dev.sh run    install what is missing, build, start Tavoret
#   scripts/dev.sh test   install what is missing, build (plain and with sanitizers), run all tests
#   scripts/dev.sh build  install what is missing and build only
#   scripts/dev.sh fuzz [SECONDS]  build the font fuzz target and run it (default 600 s)
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
          xvfb xauth xdotool xclip imagemagick python3-fonttools fonts-dejavu-core fonts-liberation
          xdg-utils libxcb-damage0-dev x11-utils clang libclang-rt-14-dev)

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

# Runs the libFuzzer target on the font path for $1 seconds, from the test fonts and the seeds
# (new inputs go to build-san/fuzz/corpus). A crash, a sanitizer report, a leak or a hang is
# written to build-san/fuzz/findings/ and fails the run.
fuzz() {
  build build-san/fuzz -DTAVORET_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
  mkdir -p build-san/fuzz/corpus build-san/fuzz/findings
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build-san/fuzz/fuzz/fontfuzz -max_total_time="$1" -timeout=20 -print_final_stats=1 \
      -artifact_prefix=build-san/fuzz/findings/ build-san/fuzz/corpus \
      tests/fonts/seeds tests/fonts/files tests/fonts/broken 2>&1 | grep -v '^#[0-9]'
  echo "fuzz: ${1} s of the font path without a finding"
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
    fuzz 60
    ;;
  fuzz)
    install_missing
    fuzz "${2:-600}"
    ;;
  *)
    sed -n '2,7p' "$0"; exit 2 ;;
esac
