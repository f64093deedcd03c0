#!/usr/bin/env python3
"""Checks what Zeduzovir.exe carries, read from the file with icoutils and objdump: its icon
images, its version, its manifest, the DLLs it needs and that it asks nothing of them that
Windows 7 SP1 lacks.
  check_program_file.py Zeduzovir.exe WRESTOOL ICOTOOL OBJDUMP CXX"""
import re, subprocess, sys

exe, wrestool, icotool, objdump, cxx = sys.argv[1:6]
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

headers = run(objdump, "-p", exe).decode()
imports = {n.lower() for n in re.findall(r"DLL Name: (\S+)", headers)}
beyond = imports - {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "comctl32.dll",
                    "msvcrt.dll", "shell32.dll"}
if beyond:
    failures.append(f"needs DLLs beyond Windows itself: {beyond}")

if not re.search(r"MajorSubsystemVersion\s+6\s+MinorSubsystemVersion\s+1\b", headers):
    failures.append("the header's subsystem version is not 6.1 (Windows 7)")
# Windows' headers declare each function only for the versions that have it: every function the
# program imports from the system, other than the C runtime's, must be declared for Windows 7.
functions = set()
for dll, table in re.findall(r"DLL Name: (\S+)\n(.*?)\n\n", headers, re.S):
    if dll.lower() != "msvcrt.dll":
        functions |= set(re.findall(r"^\s+[0-9a-f]+\s+\d+\s+(\w+)$", table, re.M))
uses = "".join(f"auto* use{i} = &{name};\n" for i, name in enumerate(sorted(functions)))
source = "#include <windows.h>\n#include <commdlg.h>\n#include <shellapi.h>\n" + uses
newer = subprocess.run([cxx, "-fsyntax-only", "-D_WIN32_WINNT=0x0601", "-DWINVER=0x0601",
                        "-DUNICODE", "-x", "c++", "-"], input=source.encode(), capture_output=True)
if newer.returncode != 0 or len(functions) < 40:
    failures.append(f"imports beyond Windows 7 SP1 among {len(functions)}: {newer.stderr.decode()}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else print(f"PASS: {len(images)} icons, version, manifest, {sorted(imports)}, "
                                  f"{len(functions)} functions all in Windows 7 SP1"))
