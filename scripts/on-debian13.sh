#!/usr/bin/env bash
# Runs the README's two commands in Debian 13 (the run command only to say the version it
# built, the test command only for what Debian 13 may answer differently: --platform), in a
# container of its own with no network, on a clone of this checkout's last commit, from an
# image whose packages this checkout's install-deps.sh installed (see debian-images.sh).
# Leaves nothing running, and nothing but images behind. As root.
#   on-debian13.sh [RELEASE]
# RELEASE: a folder whose signed/ is a signed release made by tests/release/signed_release.sh,
# which the tests then use rather than make one; they wait while RELEASE/signed.lock is held.
# ZEDUZOVIR_DEBIAN13_COMMAND, if set, is run in the clone instead.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -le 1 ] || { echo "usage: on-debian13.sh [RELEASE]" >&2; exit 2; }
folder=""
[ $# -eq 0 ] || folder=$(realpath -e "$1")
. scripts/debian-images.sh
release=()
if [ -n "$folder" ]; then
  [[ $folder != *[:,$'\n']* ]] || die "podman cannot take a path with a colon, comma or line break: $folder"
  release=(-v "$folder:/release:ro" -e ZEDUZOVIR_SIGNED_RELEASE=/release/signed)
fi

deps=$(sha256sum <scripts/install-deps.sh)
tests=localhost/zeduzovir-tests:trixie-${deps:0:16}
built "$tests" tests trixie scripts
# Images made for another install-deps.sh over a day ago, unless a container uses them: a run
# side by side may have built one just now.
podman image ls --filter reference=localhost/zeduzovir-tests --filter until=24h \
  --format '{{.Repository}}:{{.Tag}}' |
  { grep -vxF "$tests" || true; } | xargs -r podman image rm >/dev/null 2>&1 || true

contained --network=none -e CI -v "$PWD:/checkout:ro" "${release[@]}" "$tests" bash -euo pipefail -c '
  git -c safe.directory=/checkout -c safe.directory=/checkout/.git clone -q /checkout /work/zeduzovir
  cd /work/zeduzovir
  eval "${1:-scripts/run.sh --version && scripts/test.sh --platform}"' test "${ZEDUZOVIR_DEBIAN13_COMMAND:-}"
