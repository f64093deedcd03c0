#!/usr/bin/env python3
"""Checks what ships for Windows: Zeduzovir.exe's icon, version, manifest, license and imports
(nothing beyond Windows itself, nothing Windows 7 SP1 lacks), and the installer's whole cycle in
a fresh Wine prefix: install, entries, the program started and closed, reinstall, removal.
  check_windows.py BUILD_DIR START_AND_CLOSE.exe WRESTOOL ICOTOOL CXX  (on an X server)"""
import glob, os, re, struct, subprocess, sys
from pathlib import Path

build, starter, wrestool, icotool, cxx = sys.argv[1:6]
exe = f"{build}/src/app/win32/Zeduzovir.exe"
tree = Path(__file__).resolve().parents[2]
license = (tree / "LICENSE").read_bytes()
run = lambda *command, **kw: subprocess.run(command, check=True, capture_output=True, **kw).stdout
failures = []
fail = failures.append

# The program file.
listing = run(icotool, "-l", "-", input=run(wrestool, "-x", "-t14", "-n1", exe)).decode()
images = [tuple(map(int, m)) for m in re.findall(r"--width=(\d+).*--bit-depth=(\d+)", listing)]
if images != [(16, 8), (24, 8), (32, 8), (48, 8), (32, 4)]:
    fail(f"icon images {images}")
version = run(wrestool, "-x", "--raw", "-t16", exe)
text = version.decode("utf-16-le", errors="replace")
for key, value in {"FileVersion": "1.00", "ProductVersion": "1.00", "ProductName": "Zeduzovir",
                   "OriginalFilename": "Zeduzovir.exe", "InternalName": "Zeduzovir"}.items():
    if not re.search(key + "\0+" + re.escape(value) + "\0", text):
        fail(f"{key} is not {value}")
if b"\xbd\x04\xef\xfe\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x00\x00" not in version:
    fail("the numeric file version is not 1.0.0.0")
manifest = run(wrestool, "-x", "--raw", "-t24", "-n1", exe).decode()
if "PerMonitorV2" not in manifest or 'Common-Controls" version="6.0.0.0"' not in manifest:
    fail("the manifest asks for no per-monitor v2 awareness or Common Controls 6")
# Shipped on its own too, the program carries its license.
if run(wrestool, "-x", "--raw", "-t10", "-n1", exe) != license:
    fail("the program holds no copy of LICENSE")

# Read from the file itself, as Windows' loader reads it: no tool's report to misread.
image = Path(exe).read_bytes()
word = lambda fmt, at: struct.unpack_from("<" + fmt, image, at)[0]
header = word("I", 0x3C) + 24  # the optional header, PE32+
sections = [struct.unpack_from("<8xIIII", image, header + word("H", header - 4) + 40 * i)
            for i in range(word("H", header - 18))]
offset = lambda rva: next(rva - va + raw for size, va, _, raw in sections if va <= rva < va + size)
name_at = lambda at: image[at:image.index(b"\0", at)].decode()
imports = {}
at = offset(word("I", header + 120))
while word("I", at + 12):
    thunks, functions = offset(word("I", at) or word("I", at + 16)), []
    while entry := word("Q", thunks):
        functions += [] if entry >> 63 else [name_at(offset(entry) + 2)]
        thunks += 8
    imports[name_at(offset(word("I", at + 12))).lower()] = functions
    at += 20
if set(imports) - {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}:
    fail(f"needs DLLs beyond Windows itself: {set(imports)}")
if (word("H", header + 48), word("H", header + 50)) != (6, 1):
    fail("the header's subsystem version is not 6.1 (Windows 7)")
# Windows' headers declare each function only for the versions that have it: every function the
# program imports from the system, other than the C runtime's, must be declared for Windows 7.
functions = {f for dll, names in imports.items() if dll != "msvcrt.dll" for f in names}
source = "#include <windows.h>\n" + "".join(f"auto* use{i} = &{name};\n"
                                             for i, name in enumerate(sorted(functions)))
newer = subprocess.run([cxx, "-fsyntax-only", "-D_WIN32_WINNT=0x0601", "-DWINVER=0x0601",
                        "-x", "c++", "-"], input=source.encode(), capture_output=True)
if newer.returncode != 0 or len(functions) < 30:
    fail(f"imports beyond Windows 7 SP1 among {len(functions)}: {newer.stderr.decode()}")

# The installer.
msi = f"{build}/Zeduzovir-1.00-x64.msi"
drive = Path(os.environ["WINEPREFIX"]) / "drive_c"
program = drive / "Program Files/Zeduzovir/Zeduzovir.exe"
# The Start menu entry lands in the machine's menu on Windows, in the user's under Wine.
shortcuts = lambda: glob.glob(f"{drive}/**/Start Menu/Programs/Zeduzovir.lnk", recursive=True)
wine = lambda *args: subprocess.run(["wine", *args], capture_output=True, text=True)
windows_path = lambda path: run("winepath", "-w", str(path)).decode().strip()
entries = lambda: wine("reg", "query", r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall",
                       "/s").stdout.replace("\r", "")
entry_count = lambda: len(re.findall(r"DisplayName\s+REG_SZ\s+Zeduzovir$", entries(), re.M))

if run("msiinfo", "export", msi, "CustomAction").decode().count("\n") > 3:
    fail("the installer has custom actions")
# Offered under "Open with" for any file, the default for none: the two values alone, in the
# machine's classes, and no ProgId, extension or SupportedTypes key.
app_key = r"Software\Classes\Applications\Zeduzovir.exe"
registry = sorted(tuple(row.split("\t")[1:5]) for row in
                  run("msiinfo", "export", msi, "Registry").decode().splitlines()[3:])
if registry != [("2", app_key, "FriendlyAppName", "Zeduzovir"),
                ("2", app_key + r"\shell\open\command", "", '"[#ZeduzovirExe]" "%1"')]:
    fail(f"the installer's registry entries are {registry}")
def open_with():
    query = wine("reg", "query", "HKLM\\" + app_key, "/s")
    return query.stdout if query.returncode == 0 else ""

if wine("msiexec", "/i", windows_path(msi), "/qn").returncode != 0 or not program.exists():
    fail("msiexec /i put no Zeduzovir.exe in Program Files\\Zeduzovir")
elif sorted(p.name for p in program.parent.iterdir()) != ["LICENSE.txt", "README.txt", "Zeduzovir.exe"]:
    fail(f"installed beside the program: {sorted(p.name for p in program.parent.iterdir())}")
elif (program.parent / "LICENSE.txt").read_bytes() != license or (
    (program.parent / "README.txt").read_bytes() != (tree / "resources/README.txt").read_bytes()
):
    fail("the installed LICENSE.txt or README.txt is not the source's")
if len(shortcuts()) != 1:
    fail("no Start menu entry")
for value in (r"DisplayName.*Zeduzovir$", r"DisplayVersion.*1\.0\.0$",
              r"Publisher.*The Zeduzovir developers$"):
    if not re.search(value, entries(), re.M):
        fail(f"the installed-apps entry lacks {value}")
# Installed apps show the icon that Windows Installer keeps for the product.
if not glob.glob(f"{drive}/windows/Installer/{{*}}/zeduzovir.ico"):
    fail("no icon kept for the entry")
if f'"{windows_path(program)}" "%1"' not in open_with() or "Zeduzovir\n" not in open_with():
    fail(f"no Open with command for the installed program: {open_with()}")
started = wine(windows_path(starter), windows_path(program))
if started.returncode != 0:
    fail(f"the installed program did not start and close: {started.stdout}")
wine("msiexec", "/i", windows_path(msi), "/qn")
if entry_count() != 1:
    fail(f"installing again left {entry_count()} installed-apps entries")

if wine("msiexec", "/x", windows_path(msi), "/qn").returncode != 0:
    fail("msiexec /x failed")
if program.parent.exists() or shortcuts() or entry_count() or open_with():
    fail("removing left the program, its Start menu entry, installed-apps or Open with entry")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else print(f"PASS: program file ({len(functions)} functions, all in "
                                  "Windows 7 SP1), its license, and installer cycle"))
