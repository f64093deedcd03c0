#!/usr/bin/env bash
# Builds the benchmarks, runs them all and prints the table; --write also updates
# docs/performance.md.
#   bench/run.sh [--rounds N] [--write]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
cmake --preset mingw-bench >/dev/null
cmake --build --preset mingw-bench
exec python3 bench/report.py build/bench build/mingw-bench "$@"
