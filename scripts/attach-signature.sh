#!/usr/bin/env bash
# Attaches a detached Authenticode signature to the file it was made for, in place; a signature
# made for other bytes is never attached: the file stays unsigned, and this says so.
#   attach-signature.sh FILE SIGNATURE
set -euo pipefail
file=$1 signature=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
attached=$scratch/attached
# osslsigncode attaches whatever it is given, and fails for want of the signer's authority
# here: what counts is whether the digest signed is this file's.
osslsigncode attach-signature -sigin "$signature" -in "$file" -out "$attached" >/dev/null 2>&1 || true
digests=$(osslsigncode verify -in "$attached" 2>/dev/null |
  grep -E '^(Current|Calculated) (message digest|DigitalSignature) *:' || true)
if [ "$(wc -l <<<"$digests")" -eq 2 ] && [ "$(awk '{print $NF}' <<<"$digests" | uniq | wc -l)" -eq 1 ]; then
  cat "$attached" >"$file"
else
  echo "release.sh: $(basename "$signature") does not fit this build of $(basename "$file"):" \
    "it stays unsigned" >&2
fi
