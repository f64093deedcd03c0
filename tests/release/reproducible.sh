#!/usr/bin/env bash
# Builds the release files twice, from two copies of the checkout at different paths, with
# another umask, time zone and locale, and the second as another user where this one is root;
# fails naming each file whose bytes differ.
#   reproducible.sh SOURCE_DIR
set -euo pipefail
source=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)

copy() {
  mkdir -p "$1"
  git -C "$source" ls-files -z | (cd "$source" && xargs -0 cp --parents -t "$1")
}
copy "$scratch/first"
copy "$scratch/a/second/checked-out-later"
touch "$scratch/a/second/checked-out-later/README.md"

(cd "$scratch/first" && umask 022 && TZ=UTC LC_ALL=C.UTF-8 scripts/release.sh >/dev/null)
second=(env TZ=Asia/Tokyo LC_ALL=C LANG=de_DE.UTF-8 HOME="$scratch" bash -c 'umask 002 && scripts/release.sh')
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$scratch"
  chown -R nobody "$scratch/a"
  second=(setpriv --reuid=nobody --regid=nogroup --clear-groups "${second[@]}")
fi
(cd "$scratch/a/second/checked-out-later" && "${second[@]}" >/dev/null)

differ=$(diff <(cd "$scratch/first/build/release" && cat SHA256SUMS) \
              <(cd "$scratch/a/second/checked-out-later/build/release" && cat SHA256SUMS) |
         sed -n 's/^< [0-9a-f]*  //p' || true)
if [ -n "$differ" ]; then
  echo "FAIL: built twice, these differ:" $differ
  exit 1
fi
echo "PASS: $(wc -l <"$scratch/first/build/release/SHA256SUMS") release files the same, bit for bit"
