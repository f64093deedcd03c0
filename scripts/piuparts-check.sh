#!/usr/bin/env bash
# Judges DEB (the .deb made here) on a minimal Debian 12 and a minimal Debian 13, each from an
# image kept by debian-root.sh:
# - piuparts installs it with its Depends alone, upgrades to it from the archive's version if
#   there is one, removes and purges it, and fails if anything is left, if a maintainer script
#   fails, or if the program installed cannot say its version (a library it needs is missing);
# - installed again by apt-get without Recommends, its program shows its window under Xvfb,
#   with its five rows (label, text box, Browse button) and the restore button.
# As root.
#   piuparts-check.sh DEB
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: piuparts-check.sh DEB" >&2; exit 2; }
deb=$(realpath -e "$1")
cd "$(dirname "$0")/.."
. scripts/debian-root.sh
debian_tools mmdebstrap piuparts

package=$(dpkg-deb -f "$deb" Package)
version=$(dpkg-deb -f "$deb" Version)
name=$(basename "$deb")
proxy=()
for option in "${apt_options[@]}"; do
  [[ $option != --aptopt=Acquire::http::Proxy* ]] || proxy=(--proxy="$(cut -d'"' -f2 <<<"$option")")
done

status=0
for suite in bookworm trixie; do
  image minimal "$suite"
  new_run
  mkdir "$run/scripts" "$run/tmp"
  cp "$deb" "$run/work/"
  printf '#!/bin/bash\nsaid=$(%q --version 2>&1) || true\n[ "$said" = %q ] || { echo "%s --version said: $said"; exit 1; }\n' \
    "$package" "$package $version" "$package" >"$run/scripts/post_install_says_its_version"
  chmod +x "$run/scripts/post_install_says_its_version"
  # Run in the root, offline: Qt makes each control a window of its own when asked, so that
  # the rows can be counted. Three sizes of control come five times each, one per row; one
  # more control is the restore button.
  cat >"$run/work/window-check.sh" <<'EOF'
QT_USE_NATIVE_WINDOWS=1 zeduzovir 2>/tmp/said &
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zeduzovir$' | head -n 1) || true
[ -n "$window" ] || { cat /tmp/said; exit 1; }
shown=false
for _ in $(seq 1 100); do
  xwininfo -children -id "$window" >/tmp/tree
  ! awk '/^ +0x/ { n++; split($(NF - 1), size_at, "+"); size[size_at[1]]++ }
    END { for (s in size) if (size[s] == 5) rows++; exit !(n == 16 && rows == 3) }' /tmp/tree ||
    { shown=true; break; }
  sleep 0.1
done
# Each library the window loaded comes from a package that the .deb's Depends brought, not
# from one that only the tools to look at it did (merged /usr: dpkg may know it without /usr).
outside=$(awk '$6 ~ /[.]so/ { print $6 }' /proc/$!/maps | sort -u | while read -r file; do
  owner=$(dpkg -S "$file" 2>/dev/null || dpkg -S "${file#/usr}" 2>/dev/null) ||
    { echo "$file (of no package)"; continue; }
  grep -qx "${owner%%[:,]*}" /work/with-depends || echo "$file (${owner%%:*})"
done)
kill %1
$shown || { cat /tmp/tree /tmp/said; exit 1; }
[ -z "$outside" ] || { echo "it loaded what the .deb's Depends did not bring:" $outside; exit 1; }
EOF
  # Debian 12's piuparts takes for a leftover what Debian 13's debconf keeps there.
  ignore=()
  [ "$suite" = bookworm ] || ignore=(--ignore=/var/cache/debconf/tmp.ci/)

  echo "=== piuparts on Debian $suite"
  if contained piuparts --existing-chroot="$image" --distribution="$suite" --mirror="$mirror main" \
    --tmpdir="$run/tmp" --scriptsdir="$run/scripts" --log-level=info "${proxy[@]}" "${ignore[@]}" \
    "$run/work/$name" >"$run/piuparts.log" 2>&1 &&
    grep -q 'INFO: Running scripts post_install$' "$run/piuparts.log"; then
    grep -F "Can't test upgrade" "$run/piuparts.log" || true
    echo "PASS: piuparts on Debian $suite: $name installs with its Depends alone, says its version, is removed and purged leaving nothing"
  else
    status=1
    cat "$run/piuparts.log"
    echo "FAIL: piuparts on Debian $suite:"
    grep -m 1 -A 1 -E ' (ERROR|FAIL): ' "$run/piuparts.log" || echo "(it did not run its check of the version)"
  fi

  echo "=== $name installed by apt-get, its window on Debian $suite"
  if in_root "$image" "$run" online "apt-get update -q >/dev/null
      apt-get install -y -q --no-install-recommends ./work/$(printf %q "$name") >/dev/null
      dpkg-query -W -f '\${Package}\n' >/work/with-depends
      apt-get install -y -q --no-install-recommends xvfb xauth xdotool x11-utils >/dev/null" &&
    in_root "$image" "$run" offline \
      'xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail /work/window-check.sh'; then
    echo "PASS: on Debian $suite, with only $name's Depends installed, $package shows its window with five rows and the restore button, loading no library from elsewhere"
  else
    status=1
    echo "FAIL: on Debian $suite, $package installed by apt-get did not show its window"
  fi
  remove "$run"
done
exit "$status"
