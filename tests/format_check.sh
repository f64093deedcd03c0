#!/usr/bin/env bash
# Fails when a C++ file the project tracks is not formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || exit 0
clang-format --dry-run --Werror "${files[@]}"
echo "PASS: ${#files[@]} files formatted"
