#!/usr/bin/env bash
# Runs the README's two commands in Debian 13 (the run command only to say the version it
# built), in a container of its own with no network, on a clone of this checkout's last commit,
# from an image whose packages this checkout's install-deps.sh installed (see
# debian-images.sh). Leaves nothing running, and nothing but images behind. As root.
#   on-debian13.sh
# ZEDUZOVIR_DEBIAN13_COMMAND, if set, is run in the clone instead.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 0 ] || { echo "usage: on-debian13.sh" >&2; exit 2; }
. scripts/debian-images.sh

deps=$(sha256sum <scripts/install-deps.sh)
tests=localhost/zeduzovir-tests:trixie-${deps:0:16}
built "$tests" tests trixie scripts
# Images made for another install-deps.sh over a day ago, unless a container uses them: a run
# side by side may have built one just now.
podman image ls --filter reference=localhost/zeduzovir-tests --filter until=24h \
  --format '{{.Repository}}:{{.Tag}}' |
  { grep -vxF "$tests" || true; } | xargs -r podman image rm >/dev/null 2>&1 || true

contained --network=none -e CI -v "$PWD:/checkout:ro" "$tests" bash -euo pipefail -c '
  git -c safe.directory=/checkout -c safe.directory=/checkout/.git clone -q /checkout /work/zeduzovir
  cd /work/zeduzovir
  eval "${1:-scripts/run.sh --version && scripts/test.sh}"' test "${ZEDUZOVIR_DEBIAN13_COMMAND:-}"
