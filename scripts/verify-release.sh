#!/usr/bin/env bash
# Checks a folder of release files: each against SHA256SUMS, SHA256SUMS against its GnuPG
# signature where there is one, and the Authenticode signatures of Zeduzovir.exe (on its own,
# in the zip and in the installer) and of the installer, against the certificate authority
# given (the system's when none is). Names every file that fails and exits 1.
#   verify-release.sh DIR [--ca CA.pem] [--keyring KEYRING.gpg]
set -uo pipefail
[ $# -ge 1 ] && [ -d "$1" ] || { echo "usage: verify-release.sh DIR [--ca CA.pem] [--keyring KEYRING.gpg]" >&2; exit 2; }
dir=$(cd "$1" && pwd)
shift
ca="" keyring=""
while [ $# -ge 2 ]; do
  case $1 in
    --ca) ca=$(realpath "$2") ;;
    --keyring) keyring=$(realpath "$2") ;;
    *) echo "verify-release.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
[ $# -eq 0 ] || { echo "verify-release.sh: $1 needs a value" >&2; exit 2; }

failed=()
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$dir"

if [ ! -f SHA256SUMS ]; then
  failed+=("SHA256SUMS (missing)")
else
  while IFS= read -r line; do
    failed+=("${line%: *} (does not match SHA256SUMS)")
  done < <(sha256sum -c SHA256SUMS 2>/dev/null | grep -v ': OK$')
  if [ -f SHA256SUMS.asc ]; then
    [ -n "$keyring" ] && gpgv --keyring "$keyring" SHA256SUMS.asc SHA256SUMS >/dev/null 2>&1 ||
      failed+=("SHA256SUMS.asc (no good signature by a key of ${keyring:-no keyring given})")
  fi
fi

# Each signed file, with where it lies for a person to read.
exe=(Zeduzovir.exe)
for zip in Zeduzovir-*-win64.zip; do
  [ -f "$zip" ] || continue
  unzip -p "$zip" '*/Zeduzovir.exe' >"$scratch/in-zip.exe" && exe+=("$zip:Zeduzovir.exe")
done
for msi in Zeduzovir-*-x64.msi; do
  [ -f "$msi" ] || continue
  msiextract -C "$scratch/msi" "$msi" >/dev/null 2>&1
  exe+=("$msi:Zeduzovir.exe" "$msi")
done
for name in "${exe[@]}"; do
  case $name in
    *.zip:*) file=$scratch/in-zip.exe ;;
    *.msi:*) file=$(find "$scratch/msi" -name Zeduzovir.exe | head -n 1) ;;
    *) file=$name ;;
  esac
  [ -f "$file" ] && osslsigncode verify ${ca:+-CAfile "$ca"} -in "$file" >/dev/null 2>&1 ||
    failed+=("$name (no valid Authenticode signature)")
done

for failure in "${failed[@]}"; do
  echo "FAIL: $failure"
done
[ ${#failed[@]} -eq 0 ] || exit 1
echo "PASS: every file in $dir is what SHA256SUMS lists, and signed"
