#!/usr/bin/env bash
# Judges DEB (the .deb made here) on a minimal Debian 12 and a minimal Debian 13, made as
# debian-images.sh says:
# - piuparts, in a container of its own, installs it with its Depends alone, upgrades to it from
#   the archive's version if there is one, removes and purges it, and fails if anything is left,
#   if a maintainer script fails, or if the program installed cannot say its version (a library
#   it needs is missing);
# - installed again by apt-get without Recommends, its program shows its window under Xvfb,
#   with its five rows (label, text box, Browse button) and the restore button, in a container
#   with no network.
# piuparts mounts in the root it makes, so its container has that power, and the network, to
# reach the archive; it is no more than piuparts run on the machine itself would have.
# As root.
#   piuparts-check.sh DEB
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: piuparts-check.sh DEB" >&2; exit 2; }
deb=$(realpath -e "$1")
cd "$(dirname "$0")/.."
. scripts/debian-images.sh
[[ $deb != *[:,$'\n']* ]] || die "podman cannot take a path with a colon, comma or line break: $deb"

name=$(basename "$deb")
package=$(dpkg-deb -f "$deb" Package)
piuparts=localhost/zeduzovir-piuparts:bookworm
built "$piuparts" piuparts bookworm scripts

status=0
for suite in bookworm trixie; do
  minimal "$suite"
  # Debian 12's piuparts takes for a leftover what Debian 13's debconf keeps there.
  ignore=()
  [ "$suite" = bookworm ] || ignore=(--ignore=/var/cache/debconf/tmp.ci/)

  echo "=== piuparts on Debian $suite"
  # piuparts mounts in the root it makes: those mounts end with the container. Its log is read
  # there, so that this script waits on nothing but the container, and a signal ends both.
  if contained --network=host --cap-add SYS_ADMIN -v "$tarball:/base.tar.gz:ro" \
    -v "$deb:/work/$name:ro" -v "$PWD/scripts/piuparts:/work/scripts:ro" "$piuparts" bash -c '
      if piuparts "$@" >/tmp/log 2>&1 &&
        grep -q "DEBUG: Command ok: .*tmp/scripts/post_install_says_its_version" /tmp/log; then
        grep -F "Can'"'"'t test upgrade" /tmp/log || true
      else
        cat /tmp/log
        grep -m 1 -A 1 -E " (ERROR|FAIL): " /tmp/log || echo "(it did not run its check of the version)"
        exit 1
      fi' piuparts --basetgz=/base.tar.gz --distribution="$suite" --mirror="$mirror main" \
    --scriptsdir=/work/scripts --log-level=debug ${proxy:+--proxy="$proxy"} "${ignore[@]}" \
    "/work/$name"; then
    echo "PASS: piuparts on Debian $suite: $name installs with its Depends alone, says its version, is removed and purged leaving nothing"
  else
    status=1
    echo "FAIL: piuparts on Debian $suite, for the reason above"
  fi

  echo "=== $name installed by apt-get, its window on Debian $suite"
  installed=$run_images:$suite-$run_tag
  if built "$installed" installed "$suite" scripts/piuparts --layers=false \
    -v "$deb:/tmp/zeduzovir.deb:ro" &&
    contained --network=none --timeout 600 -v "$PWD/scripts/piuparts:/work/scripts:ro" "$installed" \
      xvfb-run -a -s "-screen 0 1024x768x24" /work/scripts/window-check.sh; then
    echo "PASS: on Debian $suite, with only $name's Depends installed, $package shows its window with five rows and the restore button, loading no library from elsewhere"
  else
    status=1
    echo "FAIL: on Debian $suite, $package installed by apt-get did not show its window"
  fi
done
exit "$status"
