#!/usr/bin/env bash
# Attaches a detached Authenticode signature (bare PKCS#7 DER) to the file it was made for, in
# place, only when the result holds exactly that signature and its primary signature chains to
# CA (the system's authorities when none is given), as `osslsigncode verify -index 0` judges.
# Otherwise the file stays as it was, and this says so and exits 1.
#   attach-signature.sh FILE SIGNATURE [CA.pem]
set -euo pipefail
export LC_ALL=C  # so that printf %q escapes every byte that is not printable ASCII
stop() { echo "attach-signature.sh: $*" >&2; exit 2; }
[ $# -eq 2 ] || [ $# -eq 3 ] || stop "usage: attach-signature.sh FILE SIGNATURE [CA.pem]"
for tool in osslsigncode timeout grep cmp cat chmod dirname fallocate mktemp mv realpath rm; do
  command -v "$tool" >/dev/null || stop "needs $tool"; done
help=$(timeout 5 osslsigncode verify --help 2>&1 || true)
grep -qw -- -index <<<"$help" || stop "needs osslsigncode 2.8 or later, whose verify takes -index"
file=$1 signature=$2 ca=(${3:+-CAfile "$3"})
scratch=$(realpath -e -- "$(mktemp -d 2>/dev/null)" 2>/dev/null) || stop "cannot make a scratch folder"
new="" && trap 'rm -rf -- "$scratch" ${new:+"$new"}' EXIT
fallocate -x -l 100M "$scratch/room" && rm "$scratch/room" || stop "needs 100 MiB free in $scratch"
refuse() { printf "attach-signature.sh: %q $1: it stays unsigned\n" "$file" "${@:2}" >&2; exit 1; }
[ -f "$file" ] && [ ! -L "$file" ] && [ -f "$signature" ] && [ ! -L "$signature" ] ||
  refuse "or %q is no plain file" "$signature"
# osslsigncode may leave its output behind when it fails: what counts is what that output holds.
timeout 60 osslsigncode attach-signature -sigin "$signature" "${ca[@]}" -in "$file" \
  -out "$scratch/signed" >/dev/null 2>&1 || true
[ -f "$scratch/signed" ] && timeout 60 osslsigncode verify -index 0 "${ca[@]}" -in "$scratch/signed" \
  >/dev/null 2>&1 && timeout 60 osslsigncode extract-signature -in "$scratch/signed" \
  -out "$scratch/held.sig" >/dev/null 2>&1 && timeout 60 cmp -s "$scratch/held.sig" "$signature" ||
  refuse "does not verify with %q attached%s" "$signature" "${3:+ under $(printf %q "$3")}"
# A new file renamed over it: never half-written, never written through a link.
new=$(mktemp -- "$(dirname -- "$file")/.signed.XXXXXX") || refuse "cannot be replaced in its folder"
cat "$scratch/signed" >"$new" && chmod --reference="$file" -- "$new" && mv -fT -- "$new" "$file" ||
  refuse "could not be replaced"
