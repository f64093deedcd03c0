#!/usr/bin/env bash
# Installs, from Debian's packages, what the named groups need; does nothing when all of it is
# already there.
#   install-deps.sh [GROUP...]    GROUP: run, release, verify, test, debian-roots, all
# run: build and run the Qt program (scripts/run.sh); release: make the release files;
# verify: check a release (scripts/verify-release.sh); test: everything else the test command
# uses; all: those four (the default); debian-roots: run tests in other Debian releases (CI).
set -euo pipefail

run=(cmake ninja-build g++ python3 qt6-base-dev qt6-qpa-plugins qt6-wayland fonts-liberation)
release=(
  python3 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 icoutils
  dpkg-dev wixl msitools faketime fakeroot osslsigncode gnupg openssl
)
verify=(sqv osslsigncode openssl)
test=(
  clang-format wine wine64 desktop-file-utils appstream lintian devscripts
  dbus strace weston libbenchmark-dev libgtest-dev libgmock-dev googletest
  xvfb xauth xdotool imagemagick libx11-dev
)
debian_roots=(podman runc catatonit mmdebstrap)

[ $# -gt 0 ] || set -- all
packages=()
for group in "$@"; do
  case $group in
    run) packages+=("${run[@]}") ;;
    release) packages+=("${release[@]}") ;;
    verify) packages+=("${verify[@]}") ;;
    test) packages+=("${test[@]}") ;;
    all) packages+=("${run[@]}" "${release[@]}" "${verify[@]}" "${test[@]}") ;;
    debian-roots) packages+=("${debian_roots[@]}") ;;
    *) echo "install-deps.sh: no group $group (run, release, verify, test, debian-roots, all)" >&2; exit 2 ;;
  esac
done

missing=()
for package in $(printf '%s\n' "${packages[@]}" | sort -u); do
  if [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
