#!/usr/bin/env bash
# Runs the test command in Debian 13, on a clone of this checkout's last commit, in a private
# root over a kept image that the clone's install-deps.sh has readied (see debian-root.sh), in
# a network of its own: X servers are found by names that the network holds, which this
# machine's own X servers would otherwise share. Leaves nothing mounted or running, and
# nothing but the image behind. As root.
#   on-debian13.sh
# ZEDUZOVIR_DEBIAN13_COMMAND, if set, is run there instead of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 0 ] || { echo "usage: on-debian13.sh" >&2; exit 2; }
. scripts/debian-root.sh
debian_tools mmdebstrap

new_run
git clone -q "$PWD" "$run/work/zeduzovir"
image tests trixie "$run/work/zeduzovir/scripts/install-deps.sh"
status=0
in_root "$image" "$run" offline \
  "${ZEDUZOVIR_DEBIAN13_COMMAND:-cd /work/zeduzovir && scripts/test.sh}" || status=$?
# Only once its namespace has gone; a killed run's folder goes at the next run.
remove "$run"
exit "$status"
