#!/usr/bin/env bash
# Decides whether a folder of release files can be trusted, on the anchors given and nothing
# else: SHA256SUMS by its GnuPG signature from a key in KEYRING, every other file by SHA256SUMS,
# and Zeduzovir.exe and the installer by Authenticode signatures that chain to CA (to the
# system's authorities when no CA is given). The zip and the installer must hold that very
# Zeduzovir.exe and nothing beyond the release's own files. Prints PASS with what vouched for
# the files, or a FAIL line for each file with why, and exits 1; exits 2 when it cannot start.
#   verify-release.sh DIR --keyring KEYRING.gpg [--ca CA.pem]
set -uo pipefail
die() {
  echo "verify-release.sh: $*" >&2
  exit 2
}
[ $# -ge 1 ] && [ -d "$1" ] || die "usage: verify-release.sh DIR --keyring KEYRING.gpg [--ca CA.pem]"
dir=$(cd "$1" && pwd)
shift
ca="" keyring=""
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || die "$1 needs a value"
  [ -f "$2" ] && [ -r "$2" ] || die "cannot read $1 $2"
  case $1 in
    --ca) ca=$(realpath "$2") ;;
    --keyring) keyring=$(realpath "$2") ;;
    *) die "unknown option $1" ;;
  esac
  shift 2
done
[ -z "$ca" ] || openssl x509 -in "$ca" -noout 2>/dev/null || die "$ca holds no certificate"
authenticode=$(realpath "$(dirname "$0")")/authenticode.py
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$dir"

failed=0
fail() {
  printf 'FAIL: %s: %s\n' "$1" "$2"
  failed=1
}

# SHA256SUMS: vouched for by the keyring, well formed, naming every other file of the folder.
sums_vouched=""
if [ -z "$keyring" ]; then
  fail SHA256SUMS "nothing vouches for it: give the releaser's GnuPG key with --keyring"
elif [ ! -f SHA256SUMS.asc ]; then
  fail SHA256SUMS.asc "missing, so nothing vouches for SHA256SUMS"
else
  status=$(gpgv --status-fd 1 --keyring "$keyring" SHA256SUMS.asc SHA256SUMS 2>/dev/null) &&
    sums_vouched=$(awk '$2 == "VALIDSIG" { fingerprint = $NF }
      $2 == "GOODSIG" { $1 = $2 = $3 = ""; sub(/^ +/, ""); user = $0 }
      END { if (fingerprint != "" && user != "") print user " (" fingerprint ")" }' <<<"$status")
  [ -n "$sums_vouched" ] || fail SHA256SUMS.asc "no good signature by a key in $keyring"
fi
declare -A listed
if [ ! -s SHA256SUMS ]; then
  fail SHA256SUMS "missing or empty"
else
  while IFS= read -r line || [ -n "$line" ]; do
    if [[ $line =~ ^([0-9a-f]{64})\ [\ *]([^/]+)$ ]] && [[ ! ${BASH_REMATCH[2]} =~ ^\.\.?$ ]]; then
      listed[${line:66}]=${line:0:64}
    else
      fail SHA256SUMS "not a checksum of a file in this folder: ${line@Q}"
    fi
  done <SHA256SUMS
fi
while IFS= read -r -d '' name; do
  case $name in
    SHA256SUMS | SHA256SUMS.asc) ;;
    *) [ -n "${listed[$name]+set}" ] || fail "$name" "not listed in SHA256SUMS" ;;
  esac
done < <(find . -mindepth 1 -maxdepth 1 -printf '%P\0')
for name in "${!listed[@]}"; do
  if [ ! -f "$name" ] || [ -L "$name" ]; then
    fail "$name" "listed in SHA256SUMS, but not a file here"
  elif [ "$(sha256sum <"$name" | cut -d' ' -f1)" != "${listed[$name]}" ]; then
    fail "$name" "does not match SHA256SUMS"
  elif [ -z "$sums_vouched" ] && [[ $name != Zeduzovir.exe && $name != Zeduzovir-*-x64.msi ]]; then
    fail "$name" "nothing vouches for it, as nothing vouches for SHA256SUMS"
  fi
done

# Authenticode: the signature must fit the file and chain to the authority trusted.
authority=${ca:-"the system's certificate authorities"}
signers=()
signed() {
  local subject
  if osslsigncode verify ${ca:+-CAfile "$ca"} -in "$1" >/dev/null 2>&1 &&
    osslsigncode extract-signature -in "$1" -out "$scratch/$1.sig" >/dev/null 2>&1 &&
    subject=$("$authenticode" signer "$scratch/$1.sig" |
      openssl x509 -inform DER -noout -subject -nameopt RFC2253) && [ -n "$subject" ]; then
    signers+=("${subject#subject=}")
  else
    fail "$1" "no valid Authenticode signature that chains to $authority"
    return 1
  fi
}
# Fails ARCHIVE for each name read that is not one of the ALLOWED.
nothing_beyond() {
  local archive=$1 name
  shift
  while IFS= read -r name; do
    [[ " $* " == *" $name "* ]] || fail "$archive" "holds ${name@Q}, which is no release file"
  done
}

if [ -f Zeduzovir.exe ]; then
  signed Zeduzovir.exe
else
  fail Zeduzovir.exe "missing"
fi
for zip in Zeduzovir-*-win64.zip; do
  [ -f "$zip" ] || continue
  top=${zip%.zip}
  unzip -p "$zip" "$top/Zeduzovir.exe" 2>/dev/null | cmp -s - Zeduzovir.exe ||
    fail "$zip" "its Zeduzovir.exe is not the folder's"
  nothing_beyond "$zip" "$top/" "$top/"{Zeduzovir.exe,README.md,LICENSE} < <(unzip -Z1 "$zip" 2>/dev/null)
done
for msi in Zeduzovir-*-x64.msi; do
  [ -f "$msi" ] || continue
  # Only a signed installer is unpacked.
  signed "$msi" && msiextract -C "$scratch/msi" "$msi" >/dev/null 2>&1 || continue
  cmp -s "$scratch/msi/Zeduzovir/Zeduzovir.exe" Zeduzovir.exe ||
    fail "$msi" "its Zeduzovir.exe is not the folder's"
  nothing_beyond "$msi" Zeduzovir/Zeduzovir.exe < <(cd "$scratch/msi" && find . ! -type d -printf '%P\n')
done

[ $failed -eq 0 ] || exit 1
echo "PASS: every file in $dir is the release's:"
echo "  SHA256SUMS signed by $sums_vouched, a key of $keyring"
printf '  Authenticode signed by %s, under %s\n' "$(printf '%s\n' "${signers[@]}" | sort -u |
  paste -sd';' | sed 's/;/; /g')" "$authority"
