#!/usr/bin/env bash
# Builds the Windows zip from a build folder and checks that it holds Zeduzovir.exe with its
# README and licence, and nothing that needs installing beside them.
#   check_zip.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$scratch" && cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null)
zip=$(ls "$scratch"/out/Zeduzovir-*-win64.zip)
listing=$(python3 -c 'import sys, zipfile; print("\n".join(sorted(n for n in zipfile.ZipFile(sys.argv[1]).namelist() if not n.endswith("/"))))' "$zip")
expected=$(printf '%s\n' Zeduzovir-1.00-win64/LICENSE Zeduzovir-1.00-win64/README.md Zeduzovir-1.00-win64/Zeduzovir.exe)
if [ "$listing" != "$expected" ]; then
  echo "FAIL: $(basename "$zip") holds:"
  echo "$listing"
  exit 1
fi
echo "PASS: $(basename "$zip") holds Zeduzovir.exe, README.md and LICENSE"
