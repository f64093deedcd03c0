#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The Qt program and the core, built natively.
cmake --preset ci
cmake --build --preset ci
ctest --preset ci --parallel 2 --output-on-failure

# The core and the Qt window again under AddressSanitizer and UBSan.
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize --parallel 2 --output-on-failure

# Zeduzovir.exe, cross-built with MinGW-w64 and tested under Wine.
cmake --preset mingw
cmake --build --preset mingw
ctest --preset mingw --output-on-failure
