#!/usr/bin/env bash
# Attaches a detached Authenticode signature (bare PKCS#7 DER) to the file it was made for, in
# place; one whose primary signer did not sign exactly these bytes is never attached (a nested
# signature counts for nothing): the file stays unsigned, and this says so. Works the same with
# every osslsigncode from 2.5 on.
#   attach-signature.sh FILE SIGNATURE
set -euo pipefail
file=$(realpath "$1") signature=$(realpath "$2")
authenticode=$(realpath "$(dirname "$0")")/authenticode.py
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# Debian's python3, which python3-asn1crypto and python3-olefile are for, where it is. -I: no
# PYTHONPATH or user site can stand in for the standard library or the parsers.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if ! "$python" -I "$authenticode" fits "$file" "$signature" 2>why; then
  echo "release.sh: $(basename "$signature") does not fit this build of $(basename "$file"):" \
    "it stays unsigned ($(cat why))" >&2
  exit 0
fi

# osslsigncode 2.5 takes a program's signature inside its WIN_CERTIFICATE, later ones bare; its
# exit status speaks of the signer's authority, unknown here. What counts is that the file then
# holds exactly this signature.
"$python" -I "$authenticode" wrapped "$signature" wrapped.sig
for form in "$signature" wrapped.sig; do
  rm -f attached held.sig
  osslsigncode attach-signature -sigin "$form" -in "$file" -out attached >/dev/null 2>&1 || true
  if [ -f attached ] && osslsigncode extract-signature -in attached -out held.sig >/dev/null 2>&1 &&
    "$python" -I "$authenticode" bare held.sig && cmp -s held.sig "$signature"; then
    cat attached >"$file"
    exit 0
  fi
done
echo "release.sh: osslsigncode could not attach $(basename "$signature") to $(basename "$file")" >&2
exit 1
