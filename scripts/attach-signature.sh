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
help=$(timeout 5 osslsigncode verify --help 2>&1 || true)
grep -qw -- -index <<<"$help" || stop "needs osslsigncode 2.8 or later, whose verify takes -index"
file=$1 signature=$2 ca=()
[ $# -eq 2 ] || ca=(-CAfile "$3")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Plain files only, as a FIFO or a device may never end; osslsigncode may leave its output
# behind when it fails: what counts is what that output holds.
[ -f "$file" ] && [ ! -L "$file" ] && [ -f "$signature" ] && [ ! -L "$signature" ] &&
  timeout 60 osslsigncode attach-signature -sigin "$signature" "${ca[@]}" -in "$file" \
    -out "$scratch/signed" >/dev/null 2>&1 || true
if [ -f "$scratch/signed" ] &&
  timeout 60 osslsigncode verify -index 0 "${ca[@]}" -in "$scratch/signed" >/dev/null 2>&1 &&
  timeout 60 osslsigncode extract-signature -in "$scratch/signed" -out "$scratch/held.sig" >/dev/null 2>&1 &&
  timeout 60 cmp -s "$scratch/held.sig" "$signature"; then
  cat "$scratch/signed" >"$file"
  exit 0
fi
printf 'attach-signature.sh: %q is no signature of %q that verifies%s: it stays unsigned\n' \
  "$signature" "$file" "${3:+ under $(printf %q "$3")}" >&2
exit 1
