#!/usr/bin/env bash
# Draws the built program's window as a new user first sees it into the PNG file named by $1:
# started from an empty home under openbox, in the X server this runs in (xvfb-run).
set -euo pipefail
out=$1
home=$(mktemp -d)
trap 'kill "${app:-}" "${wm:-}" 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/share XDG_CACHE_HOME=$home/cache
openbox >/dev/null 2>&1 & wm=$!
sleep 1
./build/tavoret & app=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tavoret$' | head -n 1)
sleep 2 # the window placed and the chart drawn
import -window "$window" -frame "$out"
echo "screenshot: $out"
