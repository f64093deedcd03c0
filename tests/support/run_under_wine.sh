#!/usr/bin/env bash
# Runs a command for Wine on a headless X server of its own (on_xvfb.sh).
#   run_under_wine.sh WINEPREFIX|fresh DPI COMMAND [ARGUMENTS...]
# A named prefix is made on first use, with its screen at DPI, and kept, so later runs start in
# about a second; "fresh" makes a new prefix for this run alone.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
if [ "$1" = fresh ]; then
  fresh=$(mktemp -d)
  trap 'rm -rf "$fresh"' EXIT
  export WINEPREFIX=$fresh/prefix
else
  export WINEPREFIX=$(realpath -m "$1")  # Wine takes only absolute prefixes
fi
dpi=$2
shift 2
export WINEDEBUG=-all
# Wine links the prefix's Desktop and Documents into the home folder, so it gets one that lasts
# as long as the prefix.
export HOME=$WINEPREFIX.home
mkdir -p "$HOME" "$(dirname "$WINEPREFIX")"
# Wine would otherwise offer to download Mono and Gecko while it makes the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

(
  flock 9
  if [ ! -f "$WINEPREFIX/.ready" ]; then
    # Without a window manager Wine stalls in every message box and window destruction unless
    # its windows are unmanaged.
    bash "$here/on_xvfb.sh" sh -c 'wineboot -i >/dev/null 2>&1 &&
      wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null &&
      wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$0" /f >/dev/null &&
      wineserver -w' "$dpi"
    touch "$WINEPREFIX/.ready"
  fi
) 9>"$WINEPREFIX.lock"

status=0
bash "$here/on_xvfb.sh" \
  sh -c 'status=0; "$@" || status=$?; wineserver -w; exit $status' run_under_wine "$@" || status=$?
exit "$status"
