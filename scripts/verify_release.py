#!/usr/bin/env python3
"""Decides whether a folder of release files can be trusted, on the anchors given and nothing else:
SHA256SUMS by its GnuPG signature from a key in KEYRING, every other file by SHA256SUMS, and
Zeduzovir.exe and the installer by their primary Authenticode signatures, whose signer must chain
to CA (to the system's authorities when no CA is given) and be one for code signing. The zip and
the installer must hold that very Zeduzovir.exe and exactly the release's other entries, and the
folder no file but the release's, by name. Every file is read at most twice over, and all of
them together to a bound. Prints PASS with what vouched for which files, or a FAIL line for each
file with why, and exits 1; exits 2 when it cannot check, a tool it needs or an anchor it can use
missing.
  verify-release.sh DIR --keyring KEYRING [--ca CA.pem]
KEYRING is keys as sqv reads them: a binary keyring, or armored keys."""
import hashlib
import io
import os
import re
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import authenticode  # noqa: E402

USAGE = "usage: verify-release.sh DIR --keyring KEYRING [--ca CA.pem]"
TOOLS = {"sqv": "sqv", "openssl": "openssl", "msiextract": "msitools"}
EXE = "Zeduzovir.exe"
SUMS = ("SHA256SUMS", "SHA256SUMS.asc")
# Far beyond any release file: a file read whole, or a zip entry, declared larger is an attack.
LARGEST, ALL_READ = 64 << 20, 256 << 20
TOOLS_TIME = 60  # seconds, far beyond what any tool takes on a release's files
# What the digest of each Authenticode-signed file covers: of an installer signed without
# MsiDigitalSignatureEx, only its streams' bytes one after another, so that streams renamed, or
# bytes moved from one to the next, may change its tables.
COVERS = ("its streams' contents in order, not their names or lengths: its tables may differ from"
          " the signed installer's", "every byte but its checksum and signature")
# Extended times and Unix owners, the extra fields the release's archiver writes.
ZIP_EXTRAS = {0x5455, 0x7875}
# The only names a release file may have, one version for all: any other may be one that Windows
# opens, or takes for another (by case, an 8.3 alias, a device).
VERSION = r"([0-9]+(?:\.[0-9]+)*)"
ZIP, MSI = re.compile(rf"Zeduzovir-{VERSION}-win64\.zip"), re.compile(rf"Zeduzovir-{VERSION}-x64\.msi")
DEB = re.compile(rf"zeduzovir_{VERSION}_amd64\.deb")


class CannotCheck(Exception):
    pass


def say(text, file=sys.stdout):
    """The one way out: anything but printable ASCII is written as an escape, so that no name,
    certificate or tool's words can move the terminal's cursor or pass for a line of its own."""
    print("".join(c if " " <= c <= "~" else ascii(c)[1:-1] for c in text), file=file)


def shown(text):
    """Printable ASCII as it is; anything else as Python writes a string, quoted and escaped."""
    return text if re.fullmatch(r"[ -~]*", text) and not re.search(r"[\\'\"]", text) else ascii(text)


def extra_ids(extra):
    """The kinds of an extra field's records, which must fill it, each a kind the release's
    archiver writes, once: another (a Unicode path, say) may tell an unzipper another name."""
    kinds, at = [], 0
    while at + 4 <= len(extra):
        kind, size = struct.unpack_from("<HH", extra, at)
        kinds, at = kinds + [kind], at + 4 + size
    if at != len(extra) or len(set(kinds)) != len(kinds) or not set(kinds) <= ZIP_EXTRAS:
        raise zipfile.BadZipFile("an extra field no release zip holds")
    return sorted(kinds)


def raw_name(entry):
    return entry.orig_filename.encode("utf-8" if entry.flag_bits & 0x800 else "cp437")


def local_end(data, entry):
    """Where the entry's data begins, and where its local header, data and data descriptor end,
    when the header says what the directory says of the entry, so that a reader of either finds
    the same entry."""
    (signature, version, flags, method, _, _, crc, packed, size, name_length,
     extra_length) = struct.unpack_from("<IHHHHHIIIHH", data, entry.header_offset)
    start = entry.header_offset + 30
    name = data[start : start + name_length]
    extra = data[start + name_length : start + name_length + extra_length]
    begins = start + name_length + extra_length
    end = begins + entry.compress_size
    said = (entry.CRC, entry.compress_size, entry.file_size)
    wrong = zipfile.BadZipFile(f"a local header that is not its entry's, {ascii(entry.orig_filename)}")
    # A stored entry's end is found by its size alone: one with a data descriptor has none.
    if signature != 0x04034B50 or flags & ~0x808 or method not in (0, 8) or (
        (method, flags & 8) == (0, 8)
    ) or (
        (version, flags, method, name) != (entry.extract_version, entry.flag_bits,
                                           entry.compress_type, raw_name(entry))
    ) or extra_ids(extra) != extra_ids(entry.extra):
        raise wrong
    if not flags & 0x08:
        if (crc, packed, size) != said:
            raise wrong
        return begins, end
    # Sizes and checksum follow the data; the header may hold each as well, or 0.
    if any(field not in (0, value) for field, value in zip((crc, packed, size), said)) or (
        data[end : end + 16] != struct.pack("<4I", 0x08074B50, *said)
    ):
        raise wrong
    return begins, end + 16


class Verifier:
    def __init__(self, folder, keyring, ca, scratch):
        """KEYRING and CA (or None): each an operator's name for it and its copy's path."""
        self.folder, self.keyring, self.ca, self.scratch = folder, keyring, ca, scratch
        self.failed, self.present, self.budget = False, set(), ALL_READ

    def fail(self, name, why):
        say(f"FAIL: {shown(name)}: {why}")
        self.failed = True

    def read(self, name, opened, whole):
        """The file's SHA-256, and its bytes when WHOLE; None, failing it, past a bound."""
        digest, pieces, size = hashlib.sha256(), [], 0
        while piece := opened.read(min(1 << 20, self.budget + 1)):
            size, self.budget = size + len(piece), self.budget - len(piece)
            if self.budget < 0 or whole and size > LARGEST:
                self.fail(name, f"larger than any release file, {LARGEST >> 20} MiB" if whole and
                          size > LARGEST else f"past the {ALL_READ >> 20} MiB read of all files")
                self.budget = max(self.budget, 0)
                return None
            digest.update(piece)
            pieces += [piece] if whole else []
        return digest.hexdigest(), b"".join(pieces)

    def read_folder(self):
        """The files read whole (SHA256SUMS, its signature and those checked inside) by name, the
        SHA-256 of those and of every other file SHA256SUMS lists, streamed, and the checksums
        SHA256SUMS lists. Files it does not list are never read."""
        try:
            folder = os.open(self.folder, os.O_RDONLY | os.O_DIRECTORY)
            names = os.listdir(folder)
            os.stat(".", dir_fd=folder)  # a folder that lists its names may still not be entered
        except OSError as error:
            raise CannotCheck(f"cannot enter {shown(self.folder)}: {error.strerror}")
        files, digests, sums = {}, {}, {}
        for name in sorted(names, key=lambda n: n != SUMS[0]):
            try:
                file = os.open(name, os.O_RDONLY | os.O_NOFOLLOW | os.O_NONBLOCK, dir_fd=folder)
            except OSError as error:
                self.fail(name, f"cannot be read: {error.strerror}")
                continue
            if not stat.S_ISREG(os.fstat(file).st_mode):
                os.close(file)
                self.fail(name, "not a plain file")
                continue
            self.present.add(name)
            whole = name in SUMS or name in sums and bool(name == EXE or ZIP.fullmatch(name) or
                                                           MSI.fullmatch(name))
            with os.fdopen(file, "rb") as opened:
                if (whole or name in sums) and (found := self.read(name, opened, whole)):
                    digests[name] = found[0]
                    if whole:
                        files[name] = found[1]
            if name == SUMS[0]:
                sums = self.listed(files)
        os.close(folder)
        return files, digests, sums if SUMS[0] in files else self.listed(files)

    def sums_vouched(self, files):
        """The fingerprints of the keys of the keyring that signed SHA256SUMS; None if none did."""
        if "SHA256SUMS.asc" not in files:
            self.fail("SHA256SUMS.asc", "missing, so nothing vouches for SHA256SUMS")
            return None
        paths = [os.path.join(self.scratch, name) for name in SUMS[::-1]]
        for path, name in zip(paths, SUMS[::-1]):
            with open(path, "wb") as out:
                out.write(files.get(name, b""))
        said = subprocess.run(["sqv", f"--keyring={self.keyring[1]}", "--", *paths],
                              capture_output=True, text=True, errors="replace", timeout=TOOLS_TIME)
        keys = said.stdout.split()
        words = " ".join(said.stderr.split()).replace(self.keyring[1], self.keyring[0])
        if "Failed to parse keyring" in words:
            raise CannotCheck(f"--keyring {shown(self.keyring[0])} is an unusable keyring: {words}")
        if said.returncode != 0 or not keys or not all(re.fullmatch("[0-9A-F]{40,64}", k) for k in keys):
            self.fail("SHA256SUMS.asc", f"no good signature by a key in {shown(self.keyring[0])};"
                      f" sqv says: {words}")
            return None
        return ", ".join(keys)

    def listed(self, files):
        """SHA256SUMS's names and checksums, failing each line that is not one of a file here."""
        sums = files.get("SHA256SUMS", b"")
        if not sums:
            self.fail("SHA256SUMS", "missing or empty")
            return {}
        found = {}
        lines = sums.decode("utf-8", "surrogateescape").split("\n")
        for line in lines[:-1] if lines[-1] == "" else lines:
            match = re.fullmatch(r"([0-9a-f]{64}) [ *]([^/\0]+)", line)
            if not match or match[2] in (".", "..") or match[2] in found:
                self.fail("SHA256SUMS", f"not a checksum of a file in this folder, once: {ascii(line)}")
            else:
                found[match[2]] = match[1]
        return found

    def names_allowed(self, names):
        """Fails each name that is not one of a release file's, of the one version of them all."""
        versions = {name: match[1] for name in names
                    for match in [ZIP.fullmatch(name) or MSI.fullmatch(name) or DEB.fullmatch(name)]
                    if match}
        for name in names:
            if name not in (EXE, *SUMS) and name not in versions:
                self.fail(name, "not the name of a release file")
            elif len(set(versions.values())) > 1 and name in versions:
                self.fail(name, f"not all of one version: {', '.join(sorted(set(versions.values())))}")

    def authenticode(self, name, data, installer):
        """The signer's subject, when the file's primary signature is good; None otherwise."""
        try:
            signature = authenticode.embedded_signature(data)
            if signature is None:
                raise authenticode.NotASignature("no Authenticode signature")
            signed = authenticode.check_fit(data, signature, self.scratch, installer)
            authenticode.check_signer(signed, self.ca, self.scratch)
            return authenticode.subject(signed.certificate)
        except Exception as error:  # whatever the file holds, it fails it, never the run
            self.fail(name, f"Authenticode: {str(error)[:300]}")
            return None

    def holds_exactly(self, name, entries, wanted):
        """Fails NAME for each entry that is not one of WANTED, or is one twice, or is missing."""
        for entry in sorted(set(entries)):
            if entry not in wanted:
                self.fail(name, f"holds {ascii(entry)}, which is no release file")
            elif entries.count(entry) > 1:
                self.fail(name, f"holds {ascii(entry)} more than once")
        for entry in sorted(set(wanted) - set(entries)):
            self.fail(name, f"lacks {ascii(entry)}")

    def zip_holds(self, name, data, program):
        """Fails NAME unless it holds exactly the release's entries, its Zeduzovir.exe PROGRAM,
        each entry the same to every reader: to those that find its directory from its end record's
        offset or from its size, and to those reading its local headers in turn."""
        top, end = name[: -len(".zip")], len(data) - 22
        wanted = [f"{top}/{EXE}", f"{top}/README.md", f"{top}/LICENSE"]
        try:
            # The end record ends the file, right after the directory that it says where to find:
            # a directory elsewhere (in a comment, say) or larger than a few entries fails here.
            said = struct.unpack_from("<IHHHHIIH", data, max(end, 0))
            if said[:3] != (0x06054B50, 0, 0) or said[7] or said[5] + said[6] != end or (
                said[5] > 1 << 16
            ):
                raise zipfile.BadZipFile("an end record that does not say where its directory is")
            with zipfile.ZipFile(io.BytesIO(data)) as archive:
                entries = archive.infolist()
                # Every byte belongs to one entry or to the directory, and it to their records,
                # so no reader can find an entry, or a name, that this one does not; the entries
                # in the directory's order, as a reader of the stream finds them.
                at, starts = 0, {}
                for entry in entries:
                    if entry.header_offset != at:
                        raise zipfile.BadZipFile("bytes that are no entry's")
                    starts[at], at = local_end(data, entry)
                records = sum(46 + len(raw_name(e)) + len(e.extra) + len(e.comment) for e in entries)
                if (at, archive.start_dir, records) != (said[6], said[6], said[5]) or (
                    said[3] != len(entries) or said[4] != len(entries)
                ):
                    raise zipfile.BadZipFile("bytes that are no entry's")
                if any(entry.comment for entry in entries):
                    raise zipfile.BadZipFile("a comment in its directory")
                self.holds_exactly(name, [entry.orig_filename for entry in entries], wanted)
                if sorted(entry.orig_filename for entry in entries) != sorted(wanted):
                    return  # failed, and none of up to a thousand entries is unpacked
                for entry in entries:
                    # A plain file, as the release's archiver makes it: no link, no setuid.
                    if entry.create_system != 3 or entry.external_attr >> 16 not in (0o100644, 0o100755):
                        raise zipfile.BadZipFile(f"{ascii(entry.orig_filename)} not a plain file")
                    if entry.file_size > LARGEST:
                        raise zipfile.BadZipFile(
                            f"{ascii(entry.orig_filename)} larger than any release file")
                    # Its data, inflated, ends at its last byte, as a reader of the stream finds
                    # it, and is what the directory says: no reader finds more, or other bytes.
                    start = starts[entry.header_offset]
                    content = packed = data[start : start + entry.compress_size]
                    if entry.compress_type == 8:
                        inflater = zlib.decompressobj(-15)
                        content = inflater.decompress(packed, LARGEST + 1)
                    if (entry.compress_type == 8 and (not inflater.eof or inflater.unused_data or
                                                      inflater.unconsumed_tail)) or (
                        len(content) != entry.file_size or zlib.crc32(content) != entry.CRC
                    ):
                        raise zipfile.BadZipFile(
                            f"{ascii(entry.orig_filename)} whose data is not what its directory says")
                    if entry.orig_filename == wanted[0] and content != program:
                        self.fail(name, f"its {EXE} is not the folder's")
        except Exception as error:  # an encrypted entry or an unknown compression too
            self.fail(name, f"not a zip that can be read: {error}")

    def msi_program(self, name, data):
        """The installer's Zeduzovir.exe, when it holds exactly that file."""
        path, out = os.path.join(self.scratch, "installer.msi"), os.path.join(self.scratch, "installed")
        with open(path, "wb") as file:
            file.write(data)
        said = subprocess.run(["msiextract", "-C", out, path], capture_output=True, text=True,
                              errors="replace", timeout=TOOLS_TIME)
        if said.returncode != 0:
            self.fail(name, f"msiextract cannot unpack it: {said.stderr.strip()}")
            return None
        entries = []
        for root, folders, files in os.walk(out):
            entries += [os.path.relpath(os.path.join(root, n), out) for n in folders + files]
        # What it says it wrote counts too, wherever a name may have taken it.
        entries += [line for line in said.stdout.splitlines() if line not in entries]
        self.holds_exactly(name, entries, ["Zeduzovir", f"Zeduzovir/{EXE}"])
        program = os.path.join(out, "Zeduzovir", EXE)
        if not os.path.isfile(program) or os.path.islink(program) or (
            os.path.getsize(program) > LARGEST
        ):
            return None
        with open(program, "rb") as file:
            return file.read()

    def run(self):
        files, digests, sums = self.read_folder()
        vouched = self.sums_vouched(files)
        for name in sorted(self.present - set(sums) - set(SUMS)):
            self.fail(name, "not listed in SHA256SUMS")
        self.names_allowed(sorted(self.present | set(sums)))
        for name in sorted(sums):
            if name not in self.present:
                self.fail(name, "listed in SHA256SUMS, but not a file here")
            elif name not in digests:  # failed as it was read
                pass
            elif digests[name] != sums[name]:
                self.fail(name, "does not match SHA256SUMS")
            elif vouched is None:
                self.fail(name, "nothing vouches for it, as nothing vouches for SHA256SUMS")

        zips = sorted(n for n in self.present if ZIP.fullmatch(n))
        msis = sorted(n for n in self.present if MSI.fullmatch(n))
        for name, found in ((EXE, [EXE] if EXE in self.present else []),
                            ("Zeduzovir-VERSION-win64.zip", zips), ("Zeduzovir-VERSION-x64.msi", msis)):
            if len(found) != 1:
                self.fail(name, "missing" if not found else "more than one")
        # Only what a vouched SHA256SUMS lists with these very bytes is parsed.
        parsed = [n for n in files if vouched and n in sums and digests[n] == sums[n]]
        zips, msis, programs = ([n for n in found if n in parsed] for found in (zips, msis, [EXE]))
        signers, signed_by = {}, {}
        for name in programs + msis:
            signed_by[name] = self.authenticode(name, files[name], name != EXE)
            signers.setdefault(signed_by[name], []).append(f"{name} ({COVERS[name == EXE]})")
        program = files.get(EXE)
        for name in zips:
            self.zip_holds(name, files[name], program)
        for name in msis:  # only a signed installer is unpacked
            if signed_by[name] and self.msi_program(name, files[name]) != program:
                self.fail(name, f"its {EXE} is not the folder's")

        if self.failed:
            return 1
        say(f"PASS: every file in {shown(self.folder)} is the release's:")
        say(f"  SHA256SUMS, signed by {vouched}, a key of {shown(self.keyring[0])},"
            f" vouches for {', '.join(shown(n) for n in sorted(sums))}")
        authority = shown(self.ca[0]) if self.ca else "the system's certificate authorities"
        for signer, names in sorted(signers.items()):
            say(f"  Authenticode signed by {shown(signer)}, under {authority}: {', '.join(names)}")
        say(f"  {', '.join(zips + msis)} hold that very {EXE} and no entry but the release's")
        return 0


def plain_file(option, name):
    """The bytes of the plain file NAME, to a bound: a FIFO or a device may never end."""
    try:
        with os.fdopen(os.open(name, os.O_RDONLY | os.O_NONBLOCK), "rb") as file:
            if not stat.S_ISREG(os.fstat(file.fileno()).st_mode):
                raise CannotCheck(f"{option} {shown(name)} is not a plain file")
            data = file.read(LARGEST + 1)
    except OSError as error:
        raise CannotCheck(f"cannot read {option} {shown(name)}: {error.strerror}")
    if not data or len(data) > LARGEST:
        raise CannotCheck(f"{option} {shown(name)} is empty, or larger than {LARGEST >> 20} MiB")
    return data


def main(arguments):
    if not arguments or len(arguments) % 2 != 1:
        raise CannotCheck(USAGE)
    folder, options = arguments[0], {}
    for option, value in zip(arguments[1::2], arguments[2::2]):
        if option not in ("--keyring", "--ca") or option in options:
            raise CannotCheck(USAGE)
        options[option] = (value, plain_file(option, value))
    if "--keyring" not in options:
        raise CannotCheck(f"give the releaser's GnuPG key with --keyring; {USAGE}")
    for tool, package in TOOLS.items():
        if shutil.which(tool) is None:
            raise CannotCheck(f"needs {tool}, from the Debian package {package}")
    if authenticode.olefile is None:
        raise CannotCheck("needs Debian's python3-asn1crypto and python3-olefile")
    if "--ca" in options:
        name, data = options["--ca"]
        try:
            anchors = authenticode.certificates(data)
        except Exception:  # whatever it holds
            anchors = []
        if not anchors:
            raise CannotCheck(f"--ca {shown(name)} holds no certificate, or one that is none")
        options["--ca"] = (name, "".join(map(authenticode.pem, anchors)).encode())
    with tempfile.TemporaryDirectory() as scratch:
        # The tools read copies, the CA's certificates written anew: what was checked here.
        for option, (name, data) in options.items():
            options[option] = (name, os.path.join(scratch, option[2:]))
            with open(options[option][1], "wb") as out:
                out.write(data)
        ca = (*options["--ca"], anchors) if "--ca" in options else None
        return Verifier(folder, options["--keyring"], ca, scratch).run()


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except CannotCheck as error:
        say(f"verify-release.sh: {error}", sys.stderr)
        sys.exit(2)
    except Exception as error:  # a fault of this program's own: it has checked nothing
        say(f"verify-release.sh: cannot check: {error!r}", sys.stderr)
        sys.exit(2)
