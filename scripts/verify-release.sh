#!/usr/bin/env bash
# Decides whether a folder of release files can be trusted: see verify_release.py.
#   verify-release.sh DIR --keyring KEYRING [--ca CA.pem]
set -euo pipefail
if ! command -v python3 >/dev/null; then
  echo "verify-release.sh: needs python3, from the Debian package python3" >&2
  exit 2
fi
# -I: no PYTHONPATH or user site can stand in for the standard library.
exec python3 -I "$(dirname "$0")/verify_release.py" "$@"
