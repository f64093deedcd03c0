#!/usr/bin/env bash
# Checks the Windows installer in the Wine prefix it is given (a fresh one): its tables, then a
# silent install, the program, Start menu entry and installed-apps entry it leaves, the installed
# program started and closed, a second install over the first, and a silent removal that leaves
# nothing behind.
#   check_msi.sh INSTALLER.msi START_AND_CLOSE.exe     (with WINEPREFIX set, on an X server)
set -euo pipefail
msi=$1
starter=$2
drive=$WINEPREFIX/drive_c
program="$drive/Program Files/Zeduzovir/Zeduzovir.exe"
# The Start menu entry lands in the machine's menu on Windows, in the user's under Wine.
shortcuts=("$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Zeduzovir.lnk"
           "$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zeduzovir.lnk")
shortcut_count() { local n=0 s; for s in "${shortcuts[@]}"; do [ -f "$s" ] && n=$((n + 1)); done; echo $n; }
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
uninstall_entries() { wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r'; }
entry_count() { uninstall_entries | grep -c 'DisplayName.*REG_SZ.*Zeduzovir$' || true; }

tables=$(msiinfo tables "$msi")
for table in File Component Directory Feature Shortcut Icon Upgrade Property Media; do
  grep -qx "$table" <<<"$tables" || fail "the installer has no $table table"
done
[ -z "$(msiinfo export "$msi" CustomAction | tail -n +4)" ] || fail "the installer has custom actions"

wine msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i exited with $?"
[ -f "$program" ] || fail "Zeduzovir.exe is not in Program Files\\Zeduzovir"
[ "$(shortcut_count)" -eq 1 ] || fail "no Start menu entry"
entry=$(uninstall_entries)
for value in 'DisplayName.*Zeduzovir$' 'DisplayVersion.*1\.0\.0$' 'Publisher.*The Zeduzovir developers$'; do
  grep -Eq "$value" <<<"$entry" || fail "the installed-apps entry lacks $value"
done
# Installed apps show the icon that Windows Installer keeps for the product.
ls "$drive"/windows/Installer/{*}/zeduzovir.ico >/dev/null 2>&1 || fail "no icon kept for the entry"
properties=$(msiinfo export "$msi" Property)
grep -q $'^ARPPRODUCTICON\tzeduzovir.ico' <<<"$properties" || fail "no ARPPRODUCTICON"
wine "$(winepath -w "$starter")" "$(winepath -w "$program")" || fail "the installed program did not start and close"

wine msiexec /i "$(winepath -w "$msi")" /qn || fail "installing again exited with $?"
[ "$(entry_count)" -eq 1 ] || fail "installing again left $(entry_count) installed-apps entries"

wine msiexec /x "$(winepath -w "$msi")" /qn || fail "msiexec /x exited with $?"
[ ! -e "$drive/Program Files/Zeduzovir" ] || fail "Program Files\\Zeduzovir is still there"
[ "$(shortcut_count)" -eq 0 ] || fail "the Start menu entry is still there"
[ "$(entry_count)" -eq 0 ] || fail "the installed-apps entry is still there"
wine reg query 'HKLM\Software\Zeduzovir' >/dev/null 2>&1 && fail "HKLM\\Software\\Zeduzovir is still there"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: installed silently, ran, reinstalled in place and removed without a trace"
