#!/usr/bin/env bash
# Runs a test command as if on a machine of its own: a scratch home, a session bus of its own
# (never the desktop's, never one autolaunched), and nothing left running when it ends.
#   isolated.sh COMMAND [ARGUMENTS...]
set -uo pipefail
scratch=$(mktemp -d)
export HOME=$scratch XDG_RUNTIME_DIR=$scratch XDG_CONFIG_HOME=$scratch/config
export XDG_CACHE_HOME=$scratch/cache XDG_DATA_HOME=$scratch/data
unset DBUS_SESSION_BUS_ADDRESS

# The command runs in a session of its own under a keeper, the session's first process, which
# ends whatever the command left running in it. Only the keeper signals the session's process
# group, and only while it is alive and in it, so the group's ID can name no other group however
# soon PIDs are reused. It ends the session when the command ends, or when this script lets go
# of the FIFO (told to end, or killed outright).
read -r -d '' keeper <<'EOF'
  scratch=$1
  shift
  # A process's state, parent and group follow its name, which may hold spaces or brackets.
  read -r stat </proc/$$/stat
  read -r _ _ own _ <<<"${stat##*) }"
  # Whether a live process other than this one is in the group.
  others() {
    local file stat state pgrp
    for file in /proc/[0-9]*/stat; do
      [ "$file" != /proc/$$/stat ] && read -r stat 2>/dev/null <"$file" || continue
      read -r state _ pgrp _ <<<"${stat##*) }"
      [ "$pgrp" = "$own" ] && [ "$state" != Z ] && return 0
    done
    return 1
  }
  dbus-run-session -- "$@" 3<&- &
  command=$!
  read -r -u 3 _ &
  released=$!
  # Set only now, so that the command keeps the default actions.
  trap "" TERM INT HUP
  if wait -n -p ended "$command" "$released"; then status=0; else status=$?; fi
  # Released first: the command is ended below, as by a TERM.
  [ "$ended" = "$command" ] || status=143
  echo "$status" >"$scratch/.isolated/status"
  kill -TERM 0
  for ((i = 0; i < 100; i++)); do
    others || break
    sleep 0.05
  done
  # Released, the scratch folder is removed here, as the script may have been killed.
  [ "$ended" = "$command" ] || rm -rf "$scratch"
  others && kill -KILL 0
  exit "$status"
EOF
control=$scratch/.isolated
mkdir "$control"
mkfifo "$control/hold"
# Opened for reading and writing, so that neither side waits for the other to open it.
exec 4<>"$control/hold"
setsid bash -c "$keeper" keeper "$scratch" "$@" 3<"$control/hold" 4>&- &
keeper_pid=$!
trap 'exec 4>&-' TERM INT HUP
status=0
{ wait "$keeper_pid"; } 2>/dev/null || status=$?
exec 4>&-
# A signal interrupts the wait above while the keeper ends the session: wait for it to finish.
wait "$keeper_pid" 2>/dev/null
[ -s "$control/status" ] && read -r status <"$control/status"
rm -rf "$scratch"
exit "$status"
