#!/usr/bin/env bash
# Under Xvfb, in an image where the .deb was installed with its Depends alone (listed in
# /with-depends) before the tools to look at its window: zeduzovir shows its five rows and the
# restore button, loading no library that only those tools brought.
set -euo pipefail
# Qt makes each control a window of its own when asked, so that the rows can be counted. Three
# sizes of control come five times each, one per row; one more control is the restore button.
QT_USE_NATIVE_WINDOWS=1 zeduzovir 2>/tmp/said &
program=$!
# Waits while the program runs, as long as the container may: no window fails by its timeout.
running() { kill -0 "$program" 2>/dev/null || { cat /tmp/said; exit 1; }; }
until window=$(xdotool search --onlyvisible --name '^Zeduzovir$' | head -n 1) && [ -n "$window" ]; do
  running
  sleep 0.1
done
until xwininfo -children -id "$window" >/tmp/tree &&
  awk '/^ +0x/ { n++; split($(NF - 1), size_at, "+"); size[size_at[1]]++ }
    END { for (s in size) if (size[s] == 5) rows++; exit !(n == 16 && rows == 3) }' /tmp/tree; do
  running
  sleep 0.1
done
# merged /usr: dpkg may know a library by its path without /usr.
outside=$(awk '$6 ~ /[.]so/ { print $6 }' /proc/$program/maps | sort -u | while read -r file; do
  owner=$(dpkg -S "$file" 2>/dev/null || dpkg -S "${file#/usr}" 2>/dev/null) ||
    { echo "$file (of no package)"; continue; }
  grep -qx "${owner%%[:,]*}" /with-depends || echo "$file (${owner%%:*})"
done)
kill %1
[ -z "$outside" ] || { echo "it loaded what the .deb's Depends did not bring:" $outside; exit 1; }
