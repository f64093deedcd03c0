#!/usr/bin/env bash
# Checks the options, which need no display. Then starts the real program under strace on
# $DISPLAY with files, as "Open with" does, checks its window's size and saves a picture of it,
# then uses it as a person would: restores row 1, opens Browse and cancels, closes the window.
# Fails if the program did not end cleanly, or if it so much as looked (open, stat, access, ...)
# at any file it was given, the restored name or their folder.
#   use_the_program.sh PROGRAM CLOSER SCREENSHOT.png SCALE
set -euo pipefail
program=$1 closer=$2 screenshot=$3 scale=$4  # scale: the window's pixels per layout pixel

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/files" "$scratch/here"
given="$scratch/files/photo.jpgxaBrint"
restored="$scratch/files/photo.jpg"
mkdir "$scratch/files/folder"
touch "$given" "$restored"  # all exist, so any look at them would succeed and show
cd "$scratch/here"          # the file dialog opens here, away from the files

no_display=(env -u DISPLAY -u WAYLAND_DISPLAY "$program")
[[ $("${no_display[@]}" --help) == "Usage: zeduzovir "* ]] || { echo "FAIL: --help"; exit 1; }
[ "$("${no_display[@]}" --version)" = "zeduzovir 1.00" ] || { echo "FAIL: --version"; exit 1; }
status=0
refused=$("${no_display[@]}" --fr$'ob \x7f\e' ../files/a 2>&1 >/dev/null) || status=$?
[[ $status == 2 && $refused == *"'--frob \x7F\x1B'"* && $refused != *$'\n'* ]] ||
  { echo "FAIL: an unknown option gave status $status and said: $refused"; exit 1; }

# Left to isolated.sh to end if this script fails: strace -o FILE PROGRAM ignores TERM.
strace -f -q -e trace=%file -o "$scratch/trace" "$program" "$given" ../files/folder "$restored" &

# Waits until CONDITION holds, for up to 15 seconds.
wait_until() {
  for _ in $(seq 1 300); do
    eval "$1" && return 0
    sleep 0.05
  done
  echo "FAIL: $2"
  exit 1
}
# Waits until the program shows COUNT windows; prints the newest.
windows() { xdotool search --onlyvisible --class zeduzovir 2>/dev/null || true; }
wait_for_windows() {
  wait_until '[ "$(windows | wc -l)" -eq '"$1"' ]' "the program did not show $1 window(s)" >&2
  windows | tail -n 1
}
click_at() { xdotool mousemove --window "$form" $(($1 * scale)) $(($2 * scale)) click 1; }

form=$(wait_for_windows 1)
size=$(xdotool getwindowgeometry "$form" | sed -n 's/.*Geometry: //p')
[ "$size" = "$((371 * scale))x$((286 * scale))" ] || { echo "FAIL: the window is $size"; exit 1; }
# The window is mapped before it is painted: wait until it shows more than its background.
mkdir -p "$(dirname "$screenshot")"
wait_until 'import -window "$form" "$screenshot" && [ "$(identify -format %k "$screenshot")" -gt 4 ]' \
  "the window was never painted"
xdotool windowfocus --sync "$form"

click_at 154 163  # Restore xabrint File
xdotool windowfocus --sync "$(wait_for_windows 2)" key Return
wait_for_windows 1 >/dev/null
click_at 290 41  # row 2's Browse
xdotool windowfocus --sync "$(wait_for_windows 2)" key Escape
wait_for_windows 1 >/dev/null
"$closer" "$form"

# strace writes the program's own end into the trace; it is ended only after that.
ended() { awk 'NR == 1 { pid = $1 } $1 == pid && $2 == "+++" && $3 == "exited" { print $5 }' "$scratch/trace"; }
wait_until '[ -n "$(ended)" ]' "the program did not end on close"
[ "$(ended)" = 0 ] || { echo "FAIL: the program ended with status $(ended)"; exit 1; }

calls=$(wc -l <"$scratch/trace")
if grep -v execve "$scratch/trace" | grep -F -e "\"$scratch/files" -e '"../files'; then
  echo "FAIL: the program touched the files it was given"
  exit 1
fi
[ "$calls" -ge 10 ] || { echo "FAIL: the trace holds only $calls calls; strace did not follow it"; exit 1; }
echo "PASS: options without a display; ended cleanly; $calls file calls traced, none on the files given"
