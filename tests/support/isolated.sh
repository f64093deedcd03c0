#!/usr/bin/env bash
# Runs a test command as if on a machine of its own: a scratch home, a session bus of its own
# (never the desktop's, never one autolaunched), and nothing left running when it ends.
#   isolated.sh COMMAND [ARGUMENTS...]
set -uo pipefail
scratch=$(mktemp -d)
export HOME=$scratch XDG_RUNTIME_DIR=$scratch XDG_CONFIG_HOME=$scratch/config
export XDG_CACHE_HOME=$scratch/cache XDG_DATA_HOME=$scratch/data
unset DBUS_SESSION_BUS_ADDRESS
# A session of its own, so that whatever the command starts can be ended with it.
setsid dbus-run-session -- "$@" &
leader=$!
# Told to end, it ends the session too, and cleans up as below.
trap 'kill -- -"$leader" 2>/dev/null' TERM INT HUP
status=0
wait "$leader" || status=$?
# What it left running is ended, and gone before the next test starts: an X server still
# shutting down would hold the display number that the next one is given.
if kill -- -"$leader" 2>/dev/null; then
  for _ in $(seq 1 100); do
    kill -0 -- -"$leader" 2>/dev/null || break
    sleep 0.05
  done
  kill -9 -- -"$leader" 2>/dev/null
fi
rm -rf "$scratch"
exit "$status"
