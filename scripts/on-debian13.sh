#!/usr/bin/env bash
# Runs the test command in Debian 13 on a clone of this checkout's last commit, then installs
# DEB (the .deb made here) there and starts its program. The Debian 13 root is made with
# mmdebstrap the first time and kept in /var/cache/zeduzovir for the next run, which brings it
# up to date first. Leaves nothing mounted or running. As root.
#   on-debian13.sh DEB
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "$1")
root=/var/cache/zeduzovir/debian13
[ "$(id -u)" -eq 0 ] || { echo "on-debian13.sh: needs root, for chroot and mount" >&2; exit 2; }

if [ ! -x "$root/usr/bin/apt-get" ]; then
  if ! command -v mmdebstrap >/dev/null; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends mmdebstrap
  fi
  rm -rf "$root.partial"
  mkdir -p "$(dirname "$root")"
  mmdebstrap --variant=apt --include=ca-certificates,git trixie "$root.partial" \
    http://deb.debian.org/debian
  mv "$root.partial" "$root"
fi

# Ends whatever still runs in the root, then unmounts everything under it, the deepest first:
# also what a run that was killed left behind.
leave() {
  local process
  for process in /proc/[0-9]*; do
    [ "$(readlink "$process/root" 2>/dev/null)" != "$root" ] || kill -9 "${process#/proc/}" 2>/dev/null || true
  done
  awk -v under="$root/" 'index($2, under) == 1 { print $2 }' /proc/mounts | sort -r |
    while read -r target; do umount -l "$target"; done
}
leave
trap leave EXIT
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
for folder in dev/shm tmp run; do
  mount -t tmpfs tmpfs "$root/$folder"
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

rm -rf "$root/work"
git clone -q "$PWD" "$root/work/zeduzovir"
cp "$deb" "$root/work/"
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    CI="${CI:-}" DEBIAN_FRONTEND=noninteractive bash -euo pipefail -c "$1"
}
in_root 'apt-get update -q && apt-get upgrade -y -q >/dev/null && /work/zeduzovir/scripts/install-deps.sh'
# The tests in a network of their own: X servers are found by names that the network holds,
# which this machine's own X servers would otherwise share.
export -f in_root
export root
unshare --net bash -c 'ip link set lo up 2>/dev/null; in_root "cd /work/zeduzovir && scripts/test.sh"'
# The .deb made on Debian 12 installs here and its program starts; then it goes again.
name=$(basename "$deb")
in_root "apt-get install -y -q ./work/$name >/dev/null
  said=\$(zeduzovir --version || true)
  apt-get remove -y -q zeduzovir >/dev/null
  [ \"\$said\" = 'zeduzovir 1.00' ] || { echo \"FAIL: $name on Debian 13 said: \$said\"; exit 1; }
  echo 'PASS: $name, made on Debian 12, installs on Debian 13 and says: zeduzovir 1.00'"
