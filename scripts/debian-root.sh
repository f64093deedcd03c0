# shellcheck shell=bash disable=SC2016
# Private Debian roots for on-debian13.sh and piuparts-check.sh, which source this file.
#
# Images are made by mmdebstrap from the machine's own apt sources and kept, read-only, in
# ZEDUZOVIR_CACHE (default /var/cache/zeduzovir) as KIND-SUITE-KEY-EPOCH/root, where KEY hashes
# everything that shapes the image. An image is made again when its recipe changes or after 7
# days; it is built under another name and renamed when whole, so a killed build is never used.
# Each run gets a folder of its own in runs/ and sees the image through an overlay, in mount,
# PID (and network) namespaces of its own: whatever it mounts or starts ends with it, even
# under SIGKILL. Nothing outside the cache's own images and run folders is ever deleted.

die() {
  echo "$(basename "$0"): $*" >&2
  exit 2
}

[ "$(id -u)" -eq 0 ] || die "needs root, to mount and chroot"
for tool in unshare setpriv flock mknod ip apt-get; do
  command -v "$tool" >/dev/null || die "needs $tool"
done
mkdir -p "${ZEDUZOVIR_CACHE:-/var/cache/zeduzovir}"
# Resolved once: /proc/mounts and locks see the real path, not a symlink to it.
cache=$(realpath -e "${ZEDUZOVIR_CACHE:-/var/cache/zeduzovir}")
# apt takes a colon for a separator in the paths that mmdebstrap gives it.
[[ $cache != *[:$'\n']* ]] || die "the cache path holds a colon or a line break: $cache"
mkdir -p "$cache/runs"
[ ! -L "$cache/runs" ] || die "$cache/runs is a symbolic link"
exec {cache_lock}>>"$cache/.lock"
enter_root=$(realpath -e "$(dirname "${BASH_SOURCE[0]}")/enter_root.py")

# Installs the Debian packages named that are missing: one script at a time, as apt allows.
debian_tools() {
  local missing=() package
  flock "$cache_lock"
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -qx 'install ok installed' ||
      missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -q >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
  fi
  flock -u "$cache_lock"
}

# The Debian archive this machine's apt sources name for its own release's main component,
# read by apt itself, both the one-line and the deb822 forms.
host_suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
mirror=$(apt-get indextargets --format '$(TARGET_OF) $(IDENTIFIER) $(RELEASE) $(COMPONENT) $(REPO_URI)' |
  awk -v suite="$host_suite" '$1 == "deb" && $2 == "Packages" && $3 == suite && $4 == "main" { print $5; exit }')
[ -n "$mirror" ] || die "no apt source of this machine serves Debian's '$host_suite' main"
# apt's proxies carry over: mmdebstrap does not read this machine's apt configuration.
apt_options=()
for scheme in http https; do
  proxy=$(apt-config shell value "Acquire::$scheme::Proxy" | sed -n "s/^value='\(.*\)'$/\1/p")
  [ -z "$proxy" ] || apt_options+=("--aptopt=Acquire::$scheme::Proxy \"$proxy\"")
done

# Runs COMMAND in mount and PID namespaces of its own, killed when this shell dies. It inherits
# no descriptor but the standard three: through a lock's, it could write into the image itself
# or hold up every other run.
contained() {
  (
    for fd in /proc/"$BASHPID"/fd/*; do
      fd=${fd##*/}
      if [ "$fd" -gt 2 ]; then eval "exec $fd>&-"; fi
    done
    exec setpriv --pdeathsig KILL unshare --mount --propagation private --pid --fork \
      --kill-child --mount-proc "$@"
  )
}

# Deletes each FOLDER named, a folder of the cache reached through no symbolic link, and nothing
# mounted under it: it is deleted as a mount of the cache's own shows it, where no other mount
# appears, so that a bind mount made there by anyone leads nowhere. What holds a mount point
# stays, and find and rmdir say so.
remove() {
  local folder folders=() refused=0
  for folder in "$@"; do
    if [[ $folder == "$cache"/* && -d $folder && $(realpath -e "$folder") == "$folder" ]]; then
      folders+=("$folder")
    elif [ -e "$folder" ] || [ -L "$folder" ]; then
      echo "$(basename "$0"): ${folder@Q} is no folder of the cache to delete" >&2
      refused=1
    fi
  done
  [ ${#folders[@]} -gt 0 ] || return "$refused"
  unshare --mount --propagation private sh -c 'mount --bind "$1" "$1" && shift &&
    for folder; do find -P "$folder" -xdev -mindepth 1 -delete; done' remove "$cache" "${folders[@]}"
  for folder in "${folders[@]}"; do rmdir "$folder"; done
  return "$refused"
}

# image KIND SUITE [INSTALL_DEPS]: sets image to the root of a fresh image and holds it, shared,
# until this shell ends, so that no other run deletes it meanwhile. KIND is minimal (what
# piuparts starts from) or tests, where INSTALL_DEPS (a clone's install-deps.sh) has installed
# everything.
image() {
  local kind=$1 suite=$2 recipe key prefix name fd
  recipe=(--variant=apt --include=ca-certificates "${apt_options[@]}")
  if [ "$kind" = tests ]; then
    export ZEDUZOVIR_DEPS=$3
    recipe+=(--include=git --customize-hook='cp "$ZEDUZOVIR_DEPS" "$1/tmp/install-deps.sh"'
      --customize-hook='chroot "$1" bash /tmp/install-deps.sh' --customize-hook='rm "$1/tmp/install-deps.sh"')
  fi
  key=$({ printf '%s\n' "$kind" "$suite" "${recipe[@]}"; [ "$kind" != tests ] || cat "$3"; } |
    sha256sum | cut -c1-16)
  prefix=$kind-$suite-$key
  while :; do
    flock "$cache_lock"
    name=$(fresh "$prefix")
    if [ -n "$name" ]; then
      exec {fd}<"$cache/$name"
      flock -s "$fd"
      forget_old "$kind" "$suite" "$name"
      flock -u "$cache_lock"
      image=$cache/$name/root
      return
    fi
    flock -u "$cache_lock"
    build "$prefix" "$suite" "${recipe[@]}"
  done
}

# The newest image named PREFIX-EPOCH made in the last 7 days.
fresh() {
  find "$cache" -mindepth 1 -maxdepth 1 -type d -name "$1-[0-9]*" -printf '%f\n' |
    awk -F- -v now="$(date +%s)" '$NF ~ /^[0-9]+$/ && $NF >= now - 7 * 86400 && $NF <= now' |
    sort -t- -k4n | tail -n 1
}

# Deletes images of KIND-SUITE other than KEEP that no run holds. Under the cache lock.
forget_old() {
  local name fd
  find "$cache" -mindepth 1 -maxdepth 1 -type d -name "$1-$2-*" -printf '%f\n' |
    grep -E "^$1-$2-[0-9a-f]{16}-[0-9]+\$" | { grep -vxF "$3" || true; } | while read -r name; do
    exec {fd}<"$cache/$name"
    if flock -xn "$fd"; then
      mv -T "$cache/$name" "$cache/.old-$name"
      remove "$cache/.old-$name"
    fi
    exec {fd}<&-
  done
}

# build PREFIX SUITE MMDEBSTRAP-OPTIONS...: one build at a time; a build that another has just
# finished is not made again.
build() {
  local prefix=$1 suite=$2 build_lock partial
  shift 2
  exec {build_lock}>>"$cache/.build-lock"
  flock "$build_lock"
  if [ -n "$(fresh "$prefix")" ]; then
    exec {build_lock}>&-
    return
  fi
  # What a killed build left: no build runs now, and its mounts ended with it. Under the cache
  # lock, as forget_old deletes there too.
  flock "$cache_lock"
  remove "$cache"/.partial-* "$cache"/.old-*
  flock -u "$cache_lock"
  partial=$(mktemp -d "$cache/.partial-$prefix-XXXXXX")
  chmod 0755 "$partial"  # apt fetches as _apt
  echo "$(basename "$0"): making the $suite image $prefix" >&2
  contained mmdebstrap --mode=root --format=directory "$@" "$suite" "$partial/root" "$mirror" >&2
  mv -T "$partial" "$cache/$prefix-$(date +%s)"
  exec {build_lock}>&-
}

# new_run: sets run to a folder of this run's own, held until this shell ends, after deleting
# those of runs that have ended.
new_run() {
  local folder fd
  flock "$cache_lock"
  for folder in "$cache"/runs/*; do
    [ -d "$folder" ] && [ ! -L "$folder" ] || continue
    exec {fd}<"$folder"
    ! flock -xn "$fd" || remove "$folder" || echo "$(basename "$0"): $folder is left as it is" >&2
    exec {fd}<&-
  done
  run=$(mktemp -d "$cache/runs/XXXXXXXX")
  exec {fd}<"$run"
  flock -x "$fd"
  flock -u "$cache_lock"
  mkdir "$run/work"
}

# in_root IMAGE RUN online|offline COMMAND: runs COMMAND in the image seen through an overlay
# whose writable layer is in RUN, with RUN/work at /work, its own /dev, /proc, /tmp and /run,
# and with the machine's network or with one of its own.
in_root() {
  local network=()
  [ "$3" = online ] || network=(--net)
  # shellcheck disable=SC2016
  contained "${network[@]}" bash -euo pipefail -c '
    image=$1 run=$2 network=$3 command=$4 enter=$5
    cd "$run"
    mkdir -p lower upper overlay-work root
    # The image is bound read-only and named relatively, so its path needs no escaping.
    mount --bind "$image" lower
    mount -o remount,bind,ro lower
    mount -t overlay overlay -o lowerdir=lower,upperdir=upper,workdir=overlay-work root
    mount -t tmpfs -o mode=0755,nosuid tmpfs root/dev
    for node in "null 1 3" "zero 1 5" "full 1 7" "random 1 8" "urandom 1 9" "tty 5 0"; do
      set -- $node
      mknod -m 0666 "root/dev/$1" c "$2" "$3"
    done
    mkdir root/dev/pts root/dev/shm
    mount -t devpts -o newinstance,gid=5,mode=0620,ptmxmode=0666 devpts root/dev/pts
    ln -s pts/ptmx root/dev/ptmx
    ln -s /proc/self/fd root/dev/fd
    mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs root/dev/shm
    mount -t proc proc root/proc
    # The settings of the kernel, its devices and its SysRq key belong to the machine.
    for file in root/proc/{sys,sysrq-trigger,irq,bus,fs,acpi,scsi,driver,asound}; do
      [ -e "$file" ] || continue
      mount --bind "$file" "$file"
      mount -o remount,bind,ro "$file"
    done
    mount -t sysfs -o ro sysfs root/sys
    mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs root/tmp
    mount -t tmpfs -o mode=0755,nosuid,nodev tmpfs root/run
    mkdir -p root/work
    mount --bind work root/work
    if [ "$network" = online ]; then
      cp -L /etc/resolv.conf root/etc/resolv.conf
    else
      ip link set lo up
    fi
    # Not exec-ed: this shell stays the first process of the namespace, which signals sent within
    # it cannot reach, as xvfb-run needs to.
    status=0
    /usr/bin/python3 -I "$enter" root /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
      LANG=C.UTF-8 CI="${CI:-}" DEBIAN_FRONTEND=noninteractive bash -euo pipefail -c "$command" ||
      status=$?
    exit "$status"
  ' in_root "$1" "$2" "$3" "$4" "$enter_root"
}
