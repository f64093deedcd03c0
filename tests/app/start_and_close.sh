#!/usr/bin/env bash
# Starts the program on the X server in $DISPLAY, waits for its window, saves a picture of it,
# closes it as a window manager would, and checks that the program then ends cleanly.
#   start_and_close.sh PROGRAM CLOSER SCREENSHOT.png WIDTHxHEIGHT
set -euo pipefail
program=$1
closer=$2
screenshot=$3
expected_size=$4

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zeduzovir$' | head -n 1) || true
if [ -z "$window" ]; then
  echo "FAIL: no window titled Zeduzovir appeared"
  exit 1
fi

size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
if [ "$size" != "$expected_size" ]; then
  echo "FAIL: the window is $size, not $expected_size"
  exit 1
fi

# The window is mapped before it is painted: wait until it shows more than its background.
mkdir -p "$(dirname "$screenshot")"
for _ in $(seq 1 50); do
  import -window "$window" "$screenshot"
  [ "$(identify -format '%k' "$screenshot")" -gt 4 ] && break
  sleep 0.1
done
echo "saved $screenshot"

"$closer" "$window"
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "FAIL: the program did not end when its window was closed"
  exit 1
fi
trap - EXIT
status=0
wait "$pid" || status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: the program ended with status $status"
  exit 1
fi
echo "PASS: started, showed its window, ended on close"
