#!/usr/bin/env bash
# Installs, from Debian's packages, everything that building, running and testing Zeduzovir
# needs. Does nothing when all of it is already there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang-format python3
  # the Qt program
  qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev fonts-liberation
  # Zeduzovir.exe, cross-built and tested under Wine
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 icoutils
  # packages and their checks
  dpkg-dev desktop-file-utils appstream lintian devscripts wixl msitools faketime fakeroot
  # signing and checking release files
  osslsigncode gnupg openssl
  # tests
  dbus strace weston libbenchmark-dev libgtest-dev libgmock-dev googletest xvfb xauth xdotool imagemagick libx11-dev
)

# With --debian-roots, what CI's runs in other Debian roots need too (on-debian13.sh and
# piuparts-check.sh), installed before they start side by side.
[ "${1:-}" != --debian-roots ] || packages+=(mmdebstrap piuparts)

missing=()
for package in "${packages[@]}"; do
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
