#!/usr/bin/env bash
# Installs what building and running the Qt program need, builds it alone and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
# The tests, and what they need, are scripts/test.sh's.
cmake --preset default -D ZEDUZOVIR_BUILD_TESTS=OFF
cmake --build --preset default --target zeduzovir
exec build/default/src/app/qt/zeduzovir "$@"
