#!/usr/bin/env bash
# Builds the release files twice, from copies of the checkout at different paths, with another
# umask, time zone, locale and (as root) user; fails naming each file whose bytes differ.
#   reproducible.sh SOURCE_DIR
set -euo pipefail
source=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
first=$scratch/first
second=$scratch/a/second/checked-out-later
for copy in "$first" "$second"; do
  mkdir -p "$copy"
  git -C "$source" ls-files -z | (cd "$source" && xargs -0 cp --parents -t "$copy")
done
touch "$second/README.md"

(cd "$first" && umask 022 && TZ=UTC LC_ALL=C.UTF-8 scripts/release.sh >/dev/null)
as=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$scratch" && chown -R nobody "$scratch/a"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
(cd "$second" && "${as[@]}" env TZ=Asia/Tokyo LC_ALL=C LANG=de_DE.UTF-8 HOME="$scratch" \
  bash -c 'umask 002 && scripts/release.sh' >/dev/null)

differ=$(diff "$first/build/release/SHA256SUMS" "$second/build/release/SHA256SUMS" |
         sed -n 's/^< [0-9a-f]*  //p' || true)
[ -z "$differ" ] || { echo "FAIL: built twice, these differ:" $differ; exit 1; }
echo "PASS: $(wc -l <"$first/build/release/SHA256SUMS") release files the same, bit for bit"
