# shellcheck shell=bash
# Debian images and containers for on-debian13.sh and piuparts-check.sh, which source this
# file. Podman runs them all, with the settings of containers.conf beside this file.
#
# A minimal Debian of each release is made by mmdebstrap from this machine's apt sources, kept
# as a tarball in ZEDUZOVIR_CACHE (default /var/cache/zeduzovir), which piuparts starts from,
# and imported as localhost/zeduzovir-minimal:SUITE; it is made again after a week. Images built
# on it (debian.Containerfile) are built again by podman when it or what they copy changes.
#
# Each container is labelled with the process that started it, removed when that process ends,
# and bounded by a timeout. One whose process was killed outright runs on until the next start
# of either script removes it, at its start and again at its end.

die() {
  echo "$(basename "$0"): $*" >&2
  exit 2
}

[ "$(id -u)" -eq 0 ] || die "needs root, for podman and mmdebstrap"
for tool in podman runc mmdebstrap apt-get flock; do
  command -v "$tool" >/dev/null || die "needs $tool: scripts/install-deps.sh debian-roots installs it"
done
[ -x /usr/libexec/podman/catatonit ] || die "needs catatonit: scripts/install-deps.sh debian-roots installs it"
project=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export CONTAINERS_CONF=$project/scripts/containers.conf
mkdir -p "${ZEDUZOVIR_CACHE:-/var/cache/zeduzovir}"
cache=$(realpath -e "${ZEDUZOVIR_CACHE:-/var/cache/zeduzovir}")
# What is kept there runs as root in the containers: no one but root may plant it.
[ "$(stat -c '%u' "$cache")" = 0 ] && [ $((0$(stat -c '%a' "$cache") & 022)) -eq 0 ] ||
  die "$cache must belong to root and be writable by root alone"
# Paths are handed to podman's -v, which splits at colons.
for path in "$cache" "$project"; do
  [[ $path != *[:,$'\n']* ]] || die "podman cannot take a path with a colon, comma or line break: $path"
done

# The Debian archive this machine's apt sources name for its own release's main component,
# read by apt itself, both the one-line and the deb822 forms.
host_suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
mirror=$(apt-get indextargets --format '$(TARGET_OF) $(IDENTIFIER) $(RELEASE) $(COMPONENT) $(REPO_URI)' |
  awk -v suite="$host_suite" '$1 == "deb" && $2 == "Packages" && $3 == suite && $4 == "main" { print $5; exit }')
[ -n "$mirror" ] || die "no apt source of this machine serves Debian's '$host_suite' main"
# apt's proxies carry over: mmdebstrap does not read this machine's apt configuration, and
# writes these into the image's.
apt_options=()
proxy=""
for scheme in http https; do
  value=$(apt-config shell value "Acquire::$scheme::Proxy" | sed -n "s/^value='\(.*\)'$/\1/p")
  [ -z "$value" ] || apt_options+=("--aptopt=Acquire::$scheme::Proxy \"$value\"")
  [ "$scheme" != http ] || proxy=$value
done

# A process's identity, which its PID alone is not once it has ended: PID, start time, boot.
process_id() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  # shellcheck disable=SC2086 # the fields after the command's name
  set -- "$1" ${stat##*) }
  echo "$1/${21}/$(cat /proc/sys/kernel/random/boot_id)"
}
owner=org.zeduzovir.run
run_label=$owner=$(process_id $$)

# Removes the containers, and the images built for one run, of runs whose process has ended,
# and this run's own too when told "current". A container or image of a run is named by its
# run: a label, which only finds them, passes on to whatever is made from one. An image still in
# use stays.
forget_runs() {
  local name tag
  for name in $(podman container ls -a --filter "label=$owner" --format '{{.Names}}'); do
    [[ $name =~ ^zeduzovir-([0-9]+)-([0-9]+)-([0-9a-f-]{36})-[0-9]+$ ]] || continue
    ended "${BASH_REMATCH[1]}/${BASH_REMATCH[2]}/${BASH_REMATCH[3]}" "${1:-}" || continue
    podman container rm -f -t 0 -- "$name" >/dev/null 2>&1 || true
  done
  for tag in $(podman image ls --filter "reference=$run_images" --format '{{.Tag}}'); do
    [[ $tag =~ ^[a-z]+-([0-9]+)-([0-9]+)-([0-9a-f-]{36})$ ]] || continue
    ended "${BASH_REMATCH[1]}/${BASH_REMATCH[2]}/${BASH_REMATCH[3]}" "${1:-}" || continue
    podman image rm -- "$run_images:$tag" >/dev/null 2>&1 || true
  done
}
# ended IDENTITY [current]: whether the run of IDENTITY has ended, or is this one when "current".
ended() {
  [[ $1 =~ ^[0-9]+/[0-9]+/[0-9a-f-]{36}$ ]] || return 1
  if [ "$owner=$1" = "$run_label" ]; then
    [ "$2" = current ]
  else
    [ "$(process_id "${1%%/*}")" != "$1" ]
  fi
}
run_images=localhost/zeduzovir-run
run_tag=$(process_id $$ | tr / -)
forget_runs
# A second signal must not cut the removal short.
trap "trap '' HUP INT TERM; forget_runs current" EXIT
# A signal ends the script through its EXIT trap, which removes what it started.
for signal in HUP:129 INT:130 TERM:143; do
  trap "exit ${signal#*:}" "${signal%:*}"
done

# contained OPTIONS... IMAGE COMMAND...: podman run, labelled, bounded, removed at its end, under
# an init that passes signals on and reaps what the command leaves. In the background, so that a
# signal reaches this script's traps at once.
contained() {
  containers=$((${containers:-0} + 1))
  podman run --rm --init --name "zeduzovir-$run_tag-$containers" --label "$run_label" \
    --timeout 4800 "$@" &
  wait "$!"
}

# minimal SUITE: sets tarball and image to the minimal Debian SUITE, made if missing or over a
# week old; one build of a release at a time.
minimal() {
  local suite=$1 lock partial sum
  tarball=$cache/minimal-$suite.tar.gz
  image=localhost/zeduzovir-minimal:$suite
  exec {lock}>>"$cache/.lock-$suite"
  flock "$lock"
  if [ -L "$tarball" ] || [ -z "$(find "$tarball" -maxdepth 0 -type f -mmin -$((7 * 24 * 60)) 2>/dev/null)" ]; then
    # What a killed build left of this release: no build of it runs now.
    find "$cache" -maxdepth 1 -type f -name ".partial-$suite-*" -delete
    partial=$(mktemp -u "$cache/.partial-$suite-XXXXXX.tar.gz")
    echo "$(basename "$0"): making the minimal Debian $suite" >&2
    mmdebstrap --variant=apt --include=ca-certificates "${apt_options[@]}" "$suite" "$partial" \
      "$mirror" >&2 || return
    chmod 0644 "$partial" && mv -fT "$partial" "$tarball" || return
  fi
  sum=$(sha256sum <"$tarball") || return
  sum=${sum%% *}
  if [ "$(podman image inspect --format '{{index .Labels "org.zeduzovir.tarball"}}' "$image" 2>/dev/null)" != "$sum" ]; then
    podman import --change "LABEL org.zeduzovir.tarball=$sum" --change 'CMD ["bash"]' -q \
      "$tarball" "$image" >/dev/null || return
  fi
  exec {lock}>&-
}

# built IMAGE TARGET SUITE CONTEXT [OPTIONS...]: builds debian.Containerfile's TARGET on SUITE
# as IMAGE. Its build containers go even when it is stopped half-way.
built() {
  local name=$1 target=$2 suite=$3 context=$4
  shift 4
  minimal "$suite" || return
  podman build -q --force-rm --network=host --build-arg "SUITE=$suite" --target "$target" \
    -t "$name" -f "$project/scripts/debian.Containerfile" "$@" "$context" >/dev/null &
  wait "$!"
}
