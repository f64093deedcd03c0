#!/usr/bin/env bash
# Starts the real program under strace on the X server in $DISPLAY, checks its window's size and
# saves a picture of it, then uses it as a person would: types a marked path into row 1,
# restores it and dismisses the message, opens a Browse dialog and cancels it, and closes the
# window. Fails if the program did not end cleanly, or if it so much as looked at the typed file
# or at its restored name: no open, stat, access, rename, unlink or anything else on them.
#   use_the_program.sh PROGRAM CLOSER SCREENSHOT.png WIDTHxHEIGHT
set -euo pipefail
program=$1
closer=$2
screenshot=$3
scale=$((${4%%x*} / 371))  # the window's pixels per layout pixel

scratch=$(mktemp -d)
trap 'kill "$tracer" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/files"
typed="$scratch/files/photo.jpgxaBrint"
restored="$scratch/files/photo.jpg"
touch "$typed" "$restored"  # both exist, so any look at them would succeed and show
cd "$scratch"               # the file dialog opens here, away from the files

strace -f -qq -e trace=%file -o "$scratch/trace" "$program" &
tracer=$!
for _ in $(seq 1 100); do
  traced=$(pgrep -P "$tracer" || true)
  [ -n "$traced" ] && break
  sleep 0.05
done

visible_windows() { xdotool search --onlyvisible --class zeduzovir 2>/dev/null || true; }
# Waits until the program shows COUNT windows; prints the newest.
wait_for_windows() {
  for _ in $(seq 1 300); do
    mapfile -t windows < <(visible_windows)
    if [ "${#windows[@]}" -eq "$1" ]; then
      echo "${windows[-1]}"
      return 0
    fi
    sleep 0.05
  done
  echo "FAIL: expected $1 window(s) of the program, saw ${#windows[@]}" >&2
  return 1
}
# Clicks at a point of the main window, in layout pixels.
click_at() { xdotool mousemove --window "$form" $(($1 * scale)) $(($2 * scale)) click 1; }

form=$(wait_for_windows 1)
size=$(xdotool getwindowgeometry "$form" | sed -n 's/.*Geometry: //p')
[ "$size" = "$4" ] || { echo "FAIL: the window is $size, not $4"; exit 1; }
# The window is mapped before it is painted: wait until it shows more than its background.
mkdir -p "$(dirname "$screenshot")"
for _ in $(seq 1 50); do
  import -window "$form" "$screenshot"
  [ "$(identify -format '%k' "$screenshot")" -gt 4 ] && break
  sleep 0.1
done
echo "saved $screenshot"
xdotool windowfocus --sync "$form"

click_at 150 14                              # into row 1's box
xdotool type --delay 2 "$typed"
click_at 154 163                             # Restore xabrint File
box=$(wait_for_windows 2)
xdotool windowfocus --sync "$box" key Return
wait_for_windows 1 >/dev/null
echo "restored, and dismissed the message"

click_at 290 41                              # row 2's Browse
dialog=$(wait_for_windows 2)
xdotool windowfocus --sync "$dialog" key Escape
wait_for_windows 1 >/dev/null
echo "opened the file dialog, and cancelled it"

"$closer" "$form"
# Waits for the program itself, never for what it may have started, then ends the trace.
for _ in $(seq 1 100); do
  kill -0 "$traced" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$traced" 2>/dev/null && { echo "FAIL: the program did not end when its window closed"; exit 1; }
kill "$tracer" 2>/dev/null || true
status=0
wait "$tracer" || status=$?
trap 'rm -rf "$scratch"' EXIT
[ "$status" -eq 0 ] || { echo "FAIL: the program ended with status $status"; exit 1; }

calls=$(wc -l < "$scratch/trace")
touched=$(grep -F -e "\"$typed\"" -e "\"$restored\"" "$scratch/trace" || true)
if [ -n "$touched" ]; then
  echo "FAIL: the program touched the files:"
  echo "$touched"
  exit 1
fi
[ "$calls" -ge 10 ] || { echo "FAIL: the trace holds only $calls calls; strace did not follow it"; exit 1; }
echo "PASS: ended cleanly; $calls file calls traced, none on the typed path or its restored name"
