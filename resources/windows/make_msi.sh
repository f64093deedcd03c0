#!/usr/bin/env bash
# Makes the Windows installer with wixl, the same bytes from the same inputs.
#   make_msi.sh OUTPUT.msi WXS PROGRAM.exe README LICENSE ICON.ico VERSION PRODUCT_CODE
# wixl has no setting for any of the times it writes, nor for the package code, which it draws
# at random. So it runs with the clock set to SOURCE_DATE_EPOCH (the last commit's time in a
# release; now otherwise), on copies of its files dated the same, and the package code is then
# derived from everything that goes into the package, so that it changes whenever the package
# does.
set -euo pipefail
output=$(realpath -m "$1")
wxs=$(realpath "$2")
program=$3
readme=$4
license=$5
icon=$6
version=$7
product_code=$8
epoch=${SOURCE_DATE_EPOCH:-$(date +%s)}

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cp "$program" "$staging/Zeduzovir.exe"
cp "$readme" "$staging/README.txt"
cp "$license" "$staging/LICENSE.txt"
cp "$icon" "$staging/zeduzovir.ico"
touch -d "@$epoch" "$staging"/*

hash=$(cat "$wxs" "$staging"/* <(echo "$version $product_code") | sha256sum)
package_code=$(echo "${hash:0:8}-${hash:8:4}-5${hash:13:3}-8${hash:17:3}-${hash:20:12}" | tr a-f A-F)

# wixl finds the files by paths relative to where it runs. The clock stands still, as some
# versions date the cabinet's files by it, and a moving one would date them by the build's speed.
cd "$staging"
clock=(faketime -f "$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')" env TZ=UTC)
"${clock[@]}" wixl --arch x64 --output "$output" -D ProgramFile=Zeduzovir.exe \
  -D ReadmeFile=README.txt -D LicenseFile=LICENSE.txt -D IconFile=zeduzovir.ico \
  -D Version="$version" -D ProductCode="$product_code" "$wxs"
# Setting the package code sets the rest of the summary too: what wixl wrote is kept.
subject=$(msiinfo suminfo "$output" | sed -n 's/^Subject: //p')
"${clock[@]}" msibuild "$output" -s "$subject" "The Zeduzovir developers" "x64;1033" "{$package_code}"
