#!/usr/bin/env bash
# Installs what is missing, builds the Qt program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset default
cmake --build --preset default --target zeduzovir
exec build/default/src/app/qt/zeduzovir
