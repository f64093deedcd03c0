#!/usr/bin/env bash
# Runs a command as a client of a Wayland compositor of its own: weston, in a window on the X
# server of $DISPLAY, which gives it a seat (keyboard and pointer) as a desktop has.
#   on_weston.sh COMMAND [ARGUMENTS...]
set -euo pipefail
socket=zeduzovir-$$
log=$(mktemp)
# No animations: a window is in front, with the keyboard, as soon as it is shown.
config=$(mktemp --suffix=.ini)
printf '[shell]\nanimation=none\nclose-animation=none\nstartup-animation=none\nfocus-animation=none\n' \
  >"$config"
weston --backend=x11-backend.so --use-pixman --config="$config" --idle-time=0 --socket="$socket" \
  --width=1280 --height=1024 >"$log" 2>&1 &
weston=$!
# A job, not a PID: bash signals weston only while it has not reaped it.
trap 'kill %weston 2>/dev/null; wait "$weston" 2>/dev/null; rm -f "$log" "$config"' EXIT
for _ in $(seq 1 300); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  kill -0 "$weston" 2>/dev/null || { echo "FAIL: weston did not start:"; cat "$log"; exit 1; }
  sleep 0.05
done
# A window with the X server's input focus, as on a desktop, so that weston's seat has the
# keyboard to give its clients.
timeout 15 xdotool search --sync --onlyvisible --class weston windowfocus --sync
WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$@"
