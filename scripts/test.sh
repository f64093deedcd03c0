#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
#   test.sh [--platform]
# --platform: only the tests whose answer this Debian's own Qt, compilers, Wine, sqv or
# osslsigncode can change; not those labelled "once", which check files (the formatting, the
# pictures, the packages, the release's bytes) as made where releases are made.
set -euo pipefail
cd "$(dirname "$0")/.."
case ${1-} in
  "") only=() ;;
  --platform) only=(--label-exclude once) ;;
  *) echo "usage: test.sh [--platform]" >&2; exit 2 ;;
esac
scripts/install-deps.sh
# The Qt program and the core, built natively.
cmake --preset ci
cmake --build --preset ci
ctest --preset ci --parallel 2 --output-on-failure "${only[@]}"

# The core and the Qt window again under AddressSanitizer and UBSan.
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize --parallel 2 --output-on-failure "${only[@]}"

# Zeduzovir.exe, cross-built with MinGW-w64 and tested under Wine.
cmake --preset mingw
cmake --build --preset mingw
ctest --preset mingw --parallel 2 --output-on-failure "${only[@]}"
