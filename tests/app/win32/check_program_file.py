#!/usr/bin/env python3
"""Checks what Zeduzovir.exe carries, read from the file with icoutils and objdump: its icon
images, its version, its manifest and the DLLs it needs.
  check_program_file.py Zeduzovir.exe WRESTOOL ICOTOOL OBJDUMP"""
import re, subprocess, sys

exe, wrestool, icotool, objdump = sys.argv[1:5]
run = lambda *command, **kw: subprocess.run(command, check=True, capture_output=True, **kw).stdout
failures = []

icon = run(wrestool, "-x", "-t14", "-n1", exe)
listing = run(icotool, "-l", "-", input=icon).decode()
images = [tuple(map(int, m)) for m in re.findall(r"--width=(\d+).*--bit-depth=(\d+)", listing)]
if images != [(16, 8), (24, 8), (32, 8), (48, 8), (32, 4)]:
    failures.append(f"icon images {images}")

version = run(wrestool, "-x", "--raw", "-t16", exe)
text = version.decode("utf-16-le", errors="replace")
for key, value in {"FileVersion": "1.00", "ProductVersion": "1.00", "ProductName": "Zeduzovir",
                   "OriginalFilename": "Zeduzovir.exe", "InternalName": "Zeduzovir"}.items():
    if not re.search(key + "\0+" + re.escape(value) + "\0", text):
        failures.append(f"{key} is not {value}")
if b"\xbd\x04\xef\xfe\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x00\x00" not in version:
    failures.append("the numeric file version is not 1.0.0.0")

manifest = run(wrestool, "-x", "--raw", "-t24", "-n1", exe).decode()
if "PerMonitorV2" not in manifest or 'Common-Controls" version="6.0.0.0"' not in manifest:
    failures.append("the manifest asks for no per-monitor v2 awareness or Common Controls 6")

imports = {n.lower() for n in re.findall(r"DLL Name: (\S+)", run(objdump, "-p", exe).decode())}
beyond = imports - {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "comctl32.dll",
                    "msvcrt.dll", "shell32.dll"}
if beyond:
    failures.append(f"needs DLLs beyond Windows itself: {beyond}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else print(f"PASS: {len(images)} icons, version, manifest, {sorted(imports)}"))
