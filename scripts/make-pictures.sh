#!/usr/bin/env bash
# Makes the pictures of the window in docs/ from the real programs, both at 1x with a path in
# row 1: the Qt window on an X server of its own, and Zeduzovir.exe under Wine. Run it after
# changing the window; the docs.picture tests fail until then.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run release test
cmake --preset ci
cmake --build --preset ci --target qt_picture
cmake --preset mingw
cmake --build --preset mingw --target win32_picture
# The tests themselves write the pictures, so that they check what this makes.
export ZEDUZOVIR_PICTURES=write
ctest --preset ci -R '^docs\.picture'
ctest --preset mingw -R '^docs\.picture'
ls -l docs/form1-linux.png docs/form1-wine.png
