#!/usr/bin/env python3
"""Checks what Zeduzovir.exe carries, read from the file with icoutils and objdump:
its icon images, its version strings, its manifest and the DLLs it needs.

  check_program_file.py Zeduzovir.exe WRESTOOL ICOTOOL OBJDUMP
"""

import re
import subprocess
import sys
import tempfile
from pathlib import Path

EXPECTED_ICONS = [(16, 8), (24, 8), (32, 8), (48, 8), (32, 4)]  # (size, bits per pixel)
EXPECTED_STRINGS = {
    "FileVersion": "1.00",
    "ProductVersion": "1.00",
    "ProductName": "Zeduzovir",
    "OriginalFilename": "Zeduzovir.exe",
    "InternalName": "Zeduzovir",
}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "comctl32.dll",
               "msvcrt.dll"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout


def version_strings(block):
    """StringFileInfo values from a raw VS_VERSIONINFO resource."""
    text = block.decode("utf-16-le", errors="replace")
    found = {}
    for key in EXPECTED_STRINGS:
        match = re.search(key + "\0+([^\0]*)\0", text)
        if match:
            found[key] = match.group(1)
    return found


def main():
    exe, wrestool, icotool, objdump = sys.argv[1:5]
    with tempfile.TemporaryDirectory() as scratch:
        icon = Path(scratch) / "icon.ico"
        icon.write_bytes(run(wrestool, "-x", "-t14", "-n1", exe))
        listing = run(icotool, "-l", str(icon)).decode()
    images = [(int(re.search(r"--width=(\d+)", line).group(1)),
               int(re.search(r"--bit-depth=(\d+)", line).group(1)))
              for line in listing.splitlines() if line.strip()]
    check(images == EXPECTED_ICONS, f"icon images {images}, expected {EXPECTED_ICONS}")

    fixed = run(wrestool, "-x", "--raw", "-t16", exe)
    strings = version_strings(fixed)
    for key, value in EXPECTED_STRINGS.items():
        check(strings.get(key) == value, f"{key} is {strings.get(key)!r}, expected {value!r}")
    check(b"\xbd\x04\xef\xfe\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x00\x00" in fixed,
          "the numeric file version is not 1.0.0.0")

    manifest = run(wrestool, "-x", "--raw", "-t24", "-n1", exe).decode()
    check("PerMonitorV2" in manifest, "the manifest does not ask for per-monitor v2 DPI awareness")
    check("Microsoft.Windows.Common-Controls" in manifest and 'version="6.0.0.0"' in manifest,
          "the manifest does not ask for Common Controls 6")

    imports = {name.lower() for name in
               re.findall(r"DLL Name: (\S+)", run(objdump, "-p", exe).decode())}
    check(imports <= SYSTEM_DLLS, f"needs DLLs beyond Windows itself: {imports - SYSTEM_DLLS}")

    if failures:
        for failure in failures:
            print("FAIL:", failure)
        sys.exit(1)
    print(f"PASS: {len(images)} icon images, version {strings['FileVersion']}, "
          f"manifest, imports {sorted(imports)}")


if __name__ == "__main__":
    main()
