#!/usr/bin/env bash
# Builds the release again, from another copy of the checkout at another path, with another
# umask, time zone, locale and (as root) user, with the signatures the signed build left in
# SIGNED_DIR (signed_release.sh) attached as anyone's rebuild attaches them; fails naming each
# file whose bytes differ from the signed build's. verify-release.sh must pass the rebuild,
# vouched for by the signed build's SHA256SUMS.asc.
#   reproducible.sh SOURCE_DIR SIGNED_DIR
set -euo pipefail
source=$(cd "$1" && pwd)
signed=$(cd "$2" && pwd)
first=$signed/first/build/release
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
second=$scratch/a/second/checked-out-later
mkdir -p "$second"
git -C "$source" ls-files -z | (cd "$source" && xargs -0 cp --parents -t "$second")
touch "$second/README.md"
cp -r "$signed/first/resources/signatures" "$second/resources/"  # as the releaser commits them
cp "$signed/keys/ca.pem" "$scratch/a/"

as=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$scratch" && chown -R nobody "$scratch/a"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# shellcheck disable=SC2016 # $1 is bash -c's own
(cd "$second" && "${as[@]}" env TZ=Asia/Tokyo LC_ALL=C LANG=de_DE.UTF-8 HOME="$scratch" \
  bash -c 'umask 002 && scripts/release.sh --ca "$1"' - "$scratch/a/ca.pem" >/dev/null)

rebuilt=$second/build/release
differ=()
for file in "$first"/* "$rebuilt"/*; do
  name=$(basename "$file")
  [ "$name" = SHA256SUMS.asc ] || cmp -s "$first/$name" "$rebuilt/$name" || differ+=("$name")
done
[ ${#differ[@]} -eq 0 ] ||
  { echo "FAIL: built twice, these differ: $(printf '%s\n' "${differ[@]}" | sort -u | tr '\n' ' ')"; exit 1; }

# The published signature of SHA256SUMS vouches for the rebuild too, as its bytes are the same.
cp "$first/SHA256SUMS.asc" "$rebuilt/"
"$source/scripts/verify-release.sh" "$rebuilt" --keyring "$signed/keys/keyring.gpg" --ca "$signed/keys/ca.pem" \
  >/dev/null || { echo "FAIL: verify-release.sh does not pass the rebuild"; exit 1; }
echo "PASS: $(wc -l <"$first/SHA256SUMS") release files the same, bit for bit, signed"
