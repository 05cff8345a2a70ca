#!/bin/sh
# Runs a command as a client of a Wayland compositor of its own (Debian's weston), in a runtime
# folder below the test's own, with no X display to fall back on. Run under an X server (as
# xvfb-run gives one), weston is nested in it and has a seat (keyboard and pointer), as a
# desktop session has, which the clipboard needs; without one it runs headless.
set -e
runtime="${XDG_RUNTIME_DIR:?XDG_RUNTIME_DIR must be set}/weston"
mkdir -p "$runtime"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
backend=headless-backend.so
[ -n "${DISPLAY:-}" ] && backend=x11-backend.so
weston --backend=$backend --socket=tavoret-test --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null || true' EXIT
# Ready once the socket takes a connection; a weston that ended gives up at once.
until /usr/bin/python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' \
    "$runtime/tavoret-test" 2>/dev/null; do
  if ! kill -0 $weston 2>/dev/null; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
  fi
  sleep 0.05
done
export WAYLAND_DISPLAY=tavoret-test
unset DISPLAY
"$@"
