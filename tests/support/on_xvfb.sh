#!/usr/bin/env bash
# Runs a command on an X server of its own, and stops the server when the command ends.
#   on_xvfb.sh [--screen WIDTHxHEIGHTxDEPTH] COMMAND [ARGUMENTS...]   (1280x1024x24 unless given)
# Xvfb picks its display itself (-displayfd): the first whose socket it can bind, whatever lock
# files say or miss. It binds only the abstract socket, which the kernel grants one server at a
# time per network namespace, and no socket file, which a server sharing /tmp but not the network
# could replace. It never resets (-noreset): a reset when the last client leaves drops any client
# still connecting.
set -euo pipefail
screen=1280x1024x24
if [ "${1-}" = --screen ]; then
  screen=$2
  shift 2
fi
[ $# -gt 0 ] || { echo "usage: on_xvfb.sh [--screen WxHxD] COMMAND [ARGUMENTS...]" >&2; exit 2; }

scratch=$(mktemp -d)
stop() {
  # A job, not a PID: bash signals the server only while it has not reaped it.
  kill %Xvfb 2>/dev/null || true
  wait "${server-}" 2>/dev/null || true
  rm -rf "$scratch"
}
trap stop EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# One cookie for any display (FamilyWild, no number), so it is in place before the server picks
# its number, and the server is never without one.
magic=4d49542d4d414749432d434f4f4b49452d31  # "MIT-MAGIC-COOKIE-1" in hexadecimal
touch "$scratch/auth"
echo "ffff 0000  0000  0012 $magic 0010 $(mcookie)" | xauth -q -f "$scratch/auth" nmerge -

# Xvfb writes its number to the FIFO once it accepts clients, or closes it unwritten if it fails.
mkfifo "$scratch/displayfd"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -nolisten unix -noreset \
  -auth "$scratch/auth" 3>"$scratch/displayfd" </dev/null >"$scratch/log" 2>&1 &
server=$!
display=
read -r display <"$scratch/displayfd" || true
if ! [[ $display =~ ^[0-9]+$ ]]; then
  echo "FAIL: Xvfb did not start:" >&2
  cat "$scratch/log" >&2
  exit 1
fi

status=0
DISPLAY=:$display XAUTHORITY=$scratch/auth "$@" || status=$?
exit "$status"
