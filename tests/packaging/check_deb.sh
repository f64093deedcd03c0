#!/usr/bin/env bash
# Builds the .deb from a build folder, unpacks it into a scratch root and checks what a desktop
# needs of it: the program, its manual page, menu entry, AppStream metadata and icons, and that
# lintian (which also flags a run path) finds nothing to warn of.
#   check_deb.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
app_id=org.zeduzovir.Zeduzovir
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/zeduzovir_*_amd64.deb)

depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* ]] || fail "Depends does not name Qt's widgets library: $depends"
[ "$(dpkg-deb -f "$deb" Version)" = "1.00" ] || fail "the version is not 1.00"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
# lintian wants the copyright, changelog and manual page; the validators, their files.
[ -x "$root/usr/bin/zeduzovir" ] || fail "no usr/bin/zeduzovir"
[ -e "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"
for size in 16 24 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "no ${size}px icon"
done

# Hardened as Debian's own packages are. Debian 12's C start files carry no control-flow property,
# so no program linked there is marked with it, /usr/bin/ls included; the program's own code is
# looked at for it instead. Branch protection, which later versions also check, is arm64's.
skip=(--nocfprotection)
[[ $(hardening-check --help 2>&1) != *--nobranchprotection* ]] || skip+=(--nobranchprotection)
hardening-check "${skip[@]}" "$root/usr/bin/zeduzovir" || fail "hardening-check"
[ "$(objdump -d "$root/usr/bin/zeduzovir" | grep -c endbr64)" -gt 20 ] || fail "no control-flow protection"

desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
  fail "appstreamcli validate"
notes=$(lintian "$deb" 2>&1) || true
grep -E '^[EW]: ' <<<"$notes" && fail "lintian has errors or warnings"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: the .deb holds the program, its menu entry, metadata and icons"
