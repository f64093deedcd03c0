#!/usr/bin/env bash
# Checks a folder of release files, claiming only what sqv, sha256sum and osslsigncode prove:
# SHA256SUMS.asc is a good signature of SHA256SUMS by a key of KEYRING; each file present
# matches SHA256SUMS; Zeduzovir.exe's and the installer's primary Authenticode signatures chain
# to CA. One line per file, PASS or FAIL; exits 1 if one fails, 2 if it cannot check.
#   verify-release.sh DIR --keyring KEYRING --ca CA.pem
# shellcheck disable=SC2015 # A && B || stop: it stops when either fails
set -Eeuo pipefail
export LC_ALL=C  # so that printf %q escapes every byte that is not printable ASCII
stop() { echo "verify-release.sh: $*" >&2; exit 2; }; trap 'stop "could not go on past line $LINENO"' ERR
[ $# -eq 5 ] && [ -n "$1" ] && [[ "$2 $4" == "--keyring --ca" || "$2 $4" == "--ca --keyring" ]] ||
  stop "usage: verify-release.sh DIR --keyring KEYRING --ca CA.pem"
dir=$1 keyring=$3 ca=$5
[ "$2" = --keyring ] || keyring=$5 ca=$3
[[ $dir == /* ]] || dir=$PWD/$dir  # neither an option nor an expression to find, nor from another folder
for tool in sqv:sqv osslsigncode:osslsigncode openssl:openssl find:findutils grep:grep sha256sum \
  timeout stat dd head sort tr realpath mktemp mkdir rm fallocate:util-linux; do
  [[ $tool == *:* ]] || tool=$tool:coreutils
  command -v "${tool%:*}" >/dev/null || stop "needs ${tool%:*}, from the Debian package ${tool#*:}"
done
# Only `verify -index 0` holds osslsigncode to the primary signature, the one Windows shows.
help=$(timeout 5 osslsigncode verify --help 2>&1 || true)
grep -qw -- -index <<<"$help" ||
  stop "needs osslsigncode 2.8 or later, whose verify takes -index (Debian 12: from bookworm-backports)"

# Bounds in bytes: SHA256SUMS, its signature, the keyring and the CA a few KB, each release file
# 32 MiB, any more is no release's; each tool's seconds, far beyond its need on a busy machine.
small=4096 anchor=16384 large=$((32 << 20)) seconds=20
shown() { printf %q "$1"; }
scratch=$(realpath -e -- "$(mktemp -d 2>/dev/null)" 2>/dev/null) || stop "cannot make a scratch folder"
trap 'rm -rf "$scratch"' EXIT && mkdir "$scratch/files" && fallocate -x -l 100M "$scratch/room" &&
  rm "$scratch/room" || stop "needs 100 MiB free in $(shown "$scratch") for its copies"
failed=0 usable=0
say() { printf '%s: %q: %s\n' "$1" "$2" "$3" || stop "cannot write"; [ "$1" = PASS ] || failed=1; }  # PASS|FAIL NAME WHY
run() {  # COMMAND...: under the timeout; what it says of a failure is left in $scratch/why
  timeout "$seconds" "$@" 2>"$scratch/why" && return 0 || set -- $? "$1"
  [ "$1" -ne 124 ] || echo "$2 did not finish within $seconds s" >"$scratch/why"; return "$1"; }
words() {  # FILE: a tool's words on one line, in printable ASCII
  local said && said=$(tr -s '\n\t\r' ' ' <"$1" | tr -c '[:print:]' '?' | head -c 300) || true
  said=${said% } && echo "${said//"$scratch/"/}"
}
# Copies PATH, a plain file of 1 to BOUND bytes, to COPY, else sets why. Its type and size come
# first, as a FIFO or a device may never end; it is read through no link, and never waited on.
fetch() {  # PATH BOUND COPY
  local mode size type
  read -r mode size type < <(stat -c '%f %s %F' -- "$1" 2>/dev/null || echo 0 0) || true
  why="larger than $(($2 >> 10)) KiB"
  if [ "$mode" = 0 ]; then why="cannot be read"
  elif (((16#$mode & 0xF000) != 0x8000)); then why="not a plain file but a $type"
  elif ((size == 0)); then why="empty"
  elif ((size > $2)); then :
  elif ! timeout "$seconds" dd if="$1" of="$3" iflag=nofollow,nonblock,count_bytes bs=64K \
    count=$(($2 + 1)) status=none 2>/dev/null; then
    printf x >>"$3" 2>/dev/null || stop "cannot copy $(shown "$1") into $scratch"; why="cannot be read"
  elif (($(stat -c %s -- "$3") == size)); then return 0
  else why="changed while it was read"; fi
  return 1
}
for option in keyring ca; do
  why="cannot be read"
  path=$(realpath -e -- "${!option}" 2>/dev/null) && fetch "$path" $anchor "$scratch/$option" ||
    stop "--$option $(shown "${!option}"): $why"
done
run openssl x509 -in "$scratch/ca" -noout || stop "--ca $(shown "$ca"): holds no certificate that openssl reads"

# Names: only the release's, and no more of them than a release has. Nothing is opened yet.
[ -d "$dir" ] || stop "cannot list $(shown "$dir")"
{ timeout "$seconds" find -H "$dir" -mindepth 1 -maxdepth 1 -printf '%f\0' 2>/dev/null &&
  echo 0 >"$scratch/found" || echo $? >"$scratch/found"; } | head -z -n 65 >"$scratch/names"
[[ $(<"$scratch/found") =~ ^(0|141)$ ]] || stop "cannot list $(shown "$dir")"  # 141: head had enough
sort -z "$scratch/names" >"$scratch/sorted"  # not in a subshell, whose failure would not stop it
mapfile -d '' -t names <"$scratch/sorted"
[ ${#names[@]} -le 64 ] || { say FAIL "$dir" "holds more than 64 entries, which no release does"; exit 1; }
release='(Zeduzovir\.exe|Zeduzovir-[0-9]+(\.[0-9]+)*-x64\.msi|zeduzovir_[0-9]+(\.[0-9]+)*_amd64\.deb)'
declare -A here=() listed=()
for name in "${names[@]}"; do
  [[ $name =~ ^(SHA256SUMS|SHA256SUMS\.asc|$release)$ ]] && here[$name]=1 ||
    say FAIL "$name" "not the name of a release file"
done
for name in SHA256SUMS SHA256SUMS.asc; do
  why="missing, so nothing vouches for the release files"
  [ -n "${here[$name]-}" ] && fetch "$dir/$name" $small "$scratch/files/$name" || { say FAIL $name "$why"; usable=1; }
done
[ $usable -eq 0 ] || exit 1

# SHA256SUMS: signed, then each line a checksum and a release file's name, each once, of one version.
cd "$scratch/files"  # sha256sum reads names from here
run sqv --keyring "$scratch/keyring" -- SHA256SUMS.asc SHA256SUMS >"$scratch/signers" && [ -s "$scratch/signers" ] ||
  { say FAIL SHA256SUMS.asc "sqv does not take it for a signature of SHA256SUMS by a key of $(shown "$keyring"): $(words "$scratch/why")"; exit 1; }
bad=$(grep -m 1 -anvxE "[0-9a-f]{64}  $release" SHA256SUMS) || true
[ -z "$bad" ] || bad="line ${bad%%:*} is not a lowercase SHA-256, two spaces and a release file's name"
version=""
while [ -z "$bad" ] && { read -r sum name || [ -n "$sum" ]; }; do
  [[ ! $name =~ [-_]([0-9.]+)[-_] ]] || [ "${version:=${BASH_REMATCH[1]}}" = "${BASH_REMATCH[1]}" ] ||
    bad="names files of two versions, $version and ${BASH_REMATCH[1]}"
  [ -z "${listed[$name]-}" ] || bad="names $name twice"
  listed[$name]=$sum
done <SHA256SUMS
[ -z "$bad" ] || { say FAIL SHA256SUMS "$bad"; exit 1; }
say PASS SHA256SUMS "SHA256SUMS.asc is a good signature of it by $(words "$scratch/signers"), a key of $(shown "$keyring"), as sqv judges"

# Each file on its own, so that none is blamed for another's fault; one not listed is not read.
for name in "${names[@]}"; do
  [[ -n ${here[$name]-} && $name != SHA256SUMS* ]] || continue
  [ -n "${listed[$name]-}" ] || { say FAIL "$name" "not listed in SHA256SUMS${version:+ of $version}"; continue; }
  fetch "$dir/$name" $large "$scratch/files/$name" || { say FAIL "$name" "$why"; continue; }
  echo "${listed[$name]}  $name" >"$scratch/line"
  if ! run sha256sum --check --strict --status "$scratch/line"; then
    [ -s "$scratch/why" ] && say FAIL "$name" "$(words "$scratch/why")" || say FAIL "$name" "does not match SHA256SUMS"
  elif [[ $name == *.deb ]]; then
    say PASS "$name" "matches SHA256SUMS"
  elif run osslsigncode verify -index 0 -CAfile "$scratch/ca" -in "$name" >/dev/null; then
    say PASS "$name" "matches SHA256SUMS; its primary Authenticode signature chains to $(shown "$ca"), as osslsigncode verifies it"
  else
    say FAIL "$name" "osslsigncode did not verify its primary Authenticode signature under $(shown "$ca"): $(words "$scratch/why")"
  fi
done
exit $failed
