#!/usr/bin/env bash
# Builds the release files from this checkout, tests off, into build/release/ beside their
# SHA256SUMS: the .deb, Zeduzovir.exe, its zip and its installer. The same commit built on
# Debian 12 with the same packages gives the same bytes: every time in the files is the last
# commit's, and no path, clock, time zone, locale, umask or user of the machine gets in.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if git rev-parse --git-dir >/dev/null 2>&1 && ! git diff --quiet HEAD; then
  echo "release.sh: uncommitted changes go into these files" >&2
fi

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C.UTF-8
unset LANGUAGE
umask 022

out=build/release
rm -rf "$out"
mkdir -p "$out"
for preset in release-linux release-windows; do
  # From scratch: a build tree made earlier holds times that are not this commit's.
  rm -rf "build/$preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  # fakeroot: the archives record root as every file's owner, whoever builds them.
  (cd "build/$preset" && fakeroot cpack -B "$PWD/packages" >/dev/null)
done
cp build/release-linux/packages/*.deb build/release-windows/packages/*.zip \
   build/release-windows/Zeduzovir-*.msi build/release-windows/src/app/win32/Zeduzovir.exe "$out"
(cd "$out" && sha256sum -- * >SHA256SUMS && cat SHA256SUMS)
