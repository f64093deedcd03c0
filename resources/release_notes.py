#!/usr/bin/env python3
"""Makes the release notes in the forms packages need, from resources/releases.txt alone.
  release_notes.py RELEASES VERSION changelog OUT.gz MAINTAINER   Debian changelog, compressed
  release_notes.py RELEASES VERSION metainfo IN OUT               AppStream, @RELEASES@ filled
Fails when the newest release is not VERSION, so the notes cannot fall behind the program."""
import datetime, gzip, html, re, sys


def releases(path):
    found = []
    for line in open(path, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        if not line[0].isspace():
            version, date = line.split()
            found.append((version, datetime.date.fromisoformat(date), []))
        elif line.startswith("  ") and not line.startswith("   ") and found:
            found[-1][2].append(line.strip())
        else:
            found[-1][2][-1] += " " + line.strip()
    return found


def changelog(notes, maintainer):
    text = ""
    for version, date, changes in notes:
        stamp = datetime.datetime.combine(date, datetime.time(12), datetime.timezone.utc)
        items = "".join("  * " + wrap(change, 76, "    ") + "\n" for change in changes)
        text += (f"zeduzovir ({version}) unstable; urgency=medium\n\n{items}\n"
                 f" -- {maintainer}  {stamp.strftime('%a, %d %b %Y %H:%M:%S %z')}\n\n")
    return text.rstrip("\n") + "\n"


def wrap(text, width, indent):
    lines, line = [], ""
    for word in text.split():
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}".strip()
    return ("\n" + indent).join(lines + [line])


def metainfo(notes):
    entries = []
    for version, date, changes in notes:
        items = "".join(f"\n          <li>{html.escape(c, quote=False)}</li>" for c in changes)
        entries.append(f'<release version="{version}" date="{date}">\n      <description>\n'
                       f"        <ul>{items}\n        </ul>\n      </description>\n    </release>")
    return "\n    ".join(entries)


def main():
    source, version, form = sys.argv[1:4]
    notes = releases(source)
    if not notes or notes[0][0] != version:
        sys.exit(f"{source}: the newest release is not {version}")
    if form == "changelog":
        out, maintainer = sys.argv[4:6]
        with open(out, "wb") as raw, gzip.GzipFile("", "wb", 9, raw, mtime=0) as packed:
            packed.write(changelog(notes, maintainer).encode())
    else:
        template, out = sys.argv[4:6]
        text = open(template, encoding="utf-8").read().replace("@RELEASES@", metainfo(notes))
        open(out, "w", encoding="utf-8").write(text)


main()
