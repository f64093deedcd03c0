#!/usr/bin/env bash
# The committed icon must be exactly what its generator draws, so the artwork has one source.
set -euo pipefail
python=${1:-python3}
resources="$(dirname "$0")/../../resources"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$python" "$resources/make_icon.py" --ico "$scratch/zeduzovir.ico"
if ! cmp "$scratch/zeduzovir.ico" "$resources/zeduzovir.ico"; then
  echo "FAIL: resources/zeduzovir.ico is stale; rerun resources/make_icon.py --ico resources/zeduzovir.ico"
  exit 1
fi
echo "PASS: the icon matches its generator"
