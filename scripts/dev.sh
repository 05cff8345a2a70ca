#!/usr/bin/env bash
# Set-up, build, run, test and package Tavoret on Debian 12.
#   scripts/dev.sh run      install what the program needs, build it alone, start it
#   scripts/dev.sh test     install what the tests need too, build (plain and with sanitizers), run all tests
#   scripts/dev.sh build    install what the program needs and build it alone
#   scripts/dev.sh package  install what packaging needs too, build the program, make its .deb
#   scripts/dev.sh fuzz [SECONDS]  build the font fuzz target and run it (default 600 s)
#   scripts/dev.sh screenshot  draw the program's window under Xvfb into docs/screenshot.png
set -euo pipefail
cd "$(dirname "$0")/.."

# Building and running the program.
PROGRAM_PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev
                  libxcb1-dev xdg-utils fonts-dejavu-core fonts-liberation qt6-wayland)
# Making the Debian package, besides.
PACKAGE_PACKAGES=(dpkg-dev file)
# The tests and the benchmark, besides (the package test makes and checks the .deb).
TEST_PACKAGES=("${PACKAGE_PACKAGES[@]}" xvfb xauth xdotool xclip imagemagick python3-fonttools
               libxcb-damage0-dev x11-utils unrtf lintian desktop-file-utils appstream
               gtk-update-icon-cache openbox dbus at-spi2-core python3-pyatspi stress-ng weston
               wl-clipboard adwaita-qt6)
# The fuzz target, besides.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

install_missing() { # install_missing package...
  if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
    echo "No apt-get here: install Qt 6 Widgets (6.4 or later), fontconfig, libxcb, CMake (3.25 or later)" \
         "and a C++17 compiler with this system's package manager. Building with what CMake finds." >&2
    return 0
  fi
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Debian packages are missing, and installing them needs root (there is no sudo). As root, run:" >&2
      echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

stopped() { # stopped <what failed> <the steps skipped>
  echo "dev.sh: $1; skipped: $2" >&2
  exit 1
}

build() { # build <dir> <target or "all"> [cmake options...]
  local dir=$1 target=$2; shift 2
  if ! command -v cmake >/dev/null; then
    echo "CMake is not installed: install CMake 3.25 or later." >&2
    exit 1
  fi
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" --target "$target" -j "$jobs"
}

# Runs the libFuzzer target on the font path for $1 seconds, from the test fonts and the seeds
# (new inputs go to build-san/fuzz/corpus). A crash, a sanitizer report, a leak or a hang is
# written to build-san/fuzz/findings/ and fails the run.
fuzz() {
  build build-san/fuzz fontfuzz -DTAVORET_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
  mkdir -p build-san/fuzz/corpus build-san/fuzz/findings
  # Real fonts of the system as seeds too, beside the test fonts.
  local real_fonts=()
  for dir in /usr/share/fonts/truetype/dejavu /usr/share/fonts/truetype/liberation; do
    [ -d "$dir" ] && real_fonts+=("$dir")
  done
  local status=0
  ASAN_OPTIONS="suppressions=$PWD/fuzz/asan.supp" \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build-san/fuzz/fuzz/fontfuzz -max_total_time="$1" -timeout=20 -max_len=1048576 -print_final_stats=1 \
      -artifact_prefix=build-san/fuzz/findings/ build-san/fuzz/corpus \
      tests/fonts/seeds tests/fonts/files tests/fonts/broken "${real_fonts[@]}" > build-san/fuzz/last-run.log 2>&1 || status=$?
  grep -v '^#[0-9]' build-san/fuzz/last-run.log || true
  if [ "$status" -ne 0 ]; then
    echo "fuzz: a finding (exit $status), see build-san/fuzz/findings/" >&2
    exit 1
  fi
  echo "fuzz: ${1} s of the font path without a finding"
}

case "${1:-}" in
  run)
    install_missing "${PROGRAM_PACKAGES[@]}"
    build build tavoret
    exec ./build/tavoret "${@:2}"
    ;;
  build)
    install_missing "${PROGRAM_PACKAGES[@]}"
    build build tavoret
    ;;
  test)
    install_missing "${PROGRAM_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
    # Each step runs only when the one before passed; a failure names the steps left out.
    build build all || stopped "the build failed" "the tests, the sanitizer build and its tests, the fuzz run"
    ctest --test-dir build --output-on-failure -j "$jobs" ||
      stopped "tests failed" "the sanitizer build and its tests, the fuzz run"
    build build-san all -DTAVORET_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DTAVORET_BENCH=OFF ||
      stopped "the sanitizer build failed" "its tests, the fuzz run"
    ctest --test-dir build-san --output-on-failure -j "$jobs" || stopped "tests under the sanitizers failed" "the fuzz run"
    fuzz 60
    ;;
  fuzz)
    install_missing "${PROGRAM_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
    fuzz "${2:-600}"
    ;;
  package)
    install_missing "${PROGRAM_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    build build tavoret
    (cd build && cpack -G DEB)
    ;;
  screenshot)
    install_missing "${PROGRAM_PACKAGES[@]}" xvfb xauth openbox xdotool imagemagick
    build build tavoret
    xvfb-run -a -s "-screen 0 1280x1024x24" scripts/screenshot.sh docs/screenshot.png
    ;;
  *)
    [ -n "${1:-}" ] && echo "dev.sh: unknown command: $1" >&2
    sed -n '2,8p' "$0" >&2; exit 2 ;;
esac
