#!/usr/bin/env bash
# Decides whether a folder of release files can be trusted: see verify_release.py.
#   verify-release.sh DIR --keyring KEYRING [--ca CA.pem]
set -euo pipefail
# Debian's python3, which python3-asn1crypto and python3-olefile are for, where it is.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if ! command -v "$python" >/dev/null; then
  echo "verify-release.sh: needs python3, from the Debian package python3" >&2
  exit 2
fi
# -I: no PYTHONPATH or user site can stand in for the standard library or the parsers.
exec "$python" -I "$(dirname "$0")/verify_release.py" "$@"
