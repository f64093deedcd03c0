#!/usr/bin/env python3
"""Decides whether a folder of release files can be trusted, on the anchors given and nothing else:
SHA256SUMS by its GnuPG signature from a key in KEYRING, every other file by SHA256SUMS, and
Zeduzovir.exe and the installer by their primary Authenticode signatures, whose signer must chain
to CA (to the system's authorities when no CA is given) and be one for code signing. The zip and
the installer must hold that very Zeduzovir.exe and exactly the release's other entries. Prints
PASS with what vouched for which files, or a FAIL line for each file with why, and exits 1;
exits 2 when it cannot check, a tool it needs or an anchor it can use missing.
  verify-release.sh DIR --keyring KEYRING [--ca CA.pem]
KEYRING is a binary keyring or a file of armored public keys."""
import base64
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

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import authenticode  # noqa: E402

USAGE = "usage: verify-release.sh DIR --keyring KEYRING [--ca CA.pem]"
TOOLS = {"gpgv": "gpgv", "openssl": "openssl", "msiextract": "msitools"}
EXE = "Zeduzovir.exe"
SUMS = ("SHA256SUMS", "SHA256SUMS.asc")
# Far beyond any release file: a file read whole, or a zip entry, declared larger is an attack.
LARGEST = 64 << 20
# Extended times and Unix owners, the extra fields the release's archiver writes.
ZIP_EXTRAS = {0x5455, 0x7875}
ZIP, MSI = re.compile(r"Zeduzovir-(.+)-win64\.zip"), re.compile(r"Zeduzovir-.+-x64\.msi")


class CannotCheck(Exception):
    pass


def say(text, file=sys.stdout):
    """The one way out: anything but printable ASCII is written as an escape, so that no name,
    certificate or tool's words can move the terminal's cursor or pass for a line of its own."""
    print("".join(c if " " <= c <= "~" else ascii(c)[1:-1] for c in text), file=file)


def shown(text):
    """Printable ASCII as it is; anything else as Python writes a string, quoted and escaped."""
    return text if re.fullmatch(r"[ -~]*", text) and not re.search(r"[\\'\"]", text) else ascii(text)


def packets(data):
    """The tags of the OpenPGP packets that make up DATA, which they must fill exactly."""
    tags, at = [], 0
    while at < len(data):
        head = data[at]
        if not head & 0x80:
            raise ValueError("no OpenPGP packet")
        if head & 0x40:
            tag, first = head & 0x3F, data[at + 1]
            if first < 192:
                length, at = first, at + 2
            elif first < 224:
                length, at = ((first - 192) << 8) + data[at + 2] + 192, at + 3
            elif first == 255:
                length, at = int.from_bytes(data[at + 2 : at + 6], "big"), at + 6
            else:
                raise ValueError("a packet in parts")
        else:
            tag, size = (head >> 2) & 0x0F, head & 3
            if size == 3:
                raise ValueError("a packet of no length")
            length = int.from_bytes(data[at + 1 : at + 1 + (1 << size)], "big")
            at += 1 + (1 << size)
        if at + length > len(data):
            raise ValueError("a packet cut short")
        tags.append(tag)
        at += length
    return tags


def crc24(data):
    crc = 0xB704CE
    for byte in data:
        crc ^= byte << 16
        for _ in range(8):
            crc = crc << 1 ^ (0x1864CFB if crc & 0x800000 else 0)
    return crc & 0xFFFFFF


def dearmored(data):
    """The bytes of each armored public key block in DATA."""
    text = data.decode("ascii", "replace")
    blocks = []
    for body in re.findall(r"^-----BEGIN PGP PUBLIC KEY BLOCK-----\r?\n(.*?)"
                           r"^-----END PGP PUBLIC KEY BLOCK-----", text, re.S | re.M):
        lines = [line.strip() for line in body.splitlines()]
        if "" in lines:  # past the armor headers
            lines = lines[lines.index("") + 1 :]
        checksum = lines.pop()[1:] if lines and lines[-1].startswith("=") else None
        block = base64.b64decode("".join(lines), validate=True)
        if checksum is not None and base64.b64decode(checksum) != crc24(block).to_bytes(3, "big"):
            raise ValueError("an armored block whose checksum is wrong")
        blocks.append(block)
    return blocks


def keyring(data):
    """KEYRING's keys as a keyring gpgv reads: a binary keyring, a keybox, or armored keys."""
    if data[8:12] == b"KBXf":
        return data
    try:
        if packets(data)[0] == 6:
            return data
    except (ValueError, IndexError):
        pass
    try:
        keys = dearmored(data)
        if keys and all(packets(key)[:1] == [6] for key in keys):
            return b"".join(keys)
    except (ValueError, IndexError):
        pass
    raise CannotCheck("is an unusable keyring: neither a binary keyring nor armored public keys")


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


def local_end(data, entry):
    """Where the entry's local header, data and data descriptor end, when the header says what
    the directory says of the entry, so that a reader of either finds the same entry."""
    (signature, version, flags, method, _, _, crc, packed, size, name_length,
     extra_length) = struct.unpack_from("<IHHHHHIIIHH", data, entry.header_offset)
    start = entry.header_offset + 30
    name = data[start : start + name_length]
    extra = data[start + name_length : start + name_length + extra_length]
    end = start + name_length + extra_length + entry.compress_size
    said = (entry.CRC, entry.compress_size, entry.file_size)
    encoding = "utf-8" if entry.flag_bits & 0x800 else "cp437"
    wrong = zipfile.BadZipFile(f"a local header that is not its entry's, {ascii(entry.orig_filename)}")
    if signature != 0x04034B50 or flags & ~0x808 or method not in (0, 8) or (
        (version, flags, method, name) != (entry.extract_version, entry.flag_bits,
                                           entry.compress_type, entry.orig_filename.encode(encoding))
    ) or extra_ids(extra) != extra_ids(entry.extra):
        raise wrong
    if not flags & 0x08:
        if (crc, packed, size) != said:
            raise wrong
        return end
    # Sizes and checksum follow the data; the header may hold each as well, or 0.
    if any(field not in (0, value) for field, value in zip((crc, packed, size), said)) or (
        data[end : end + 16] != struct.pack("<4I", 0x08074B50, *said)
    ):
        raise wrong
    return end + 16


class Verifier:
    def __init__(self, folder, keyring_name, ca, scratch):
        self.folder, self.keyring_name, self.ca, self.scratch = folder, keyring_name, ca, scratch
        self.failed, self.present = False, set()

    def fail(self, name, why):
        say(f"FAIL: {shown(name)}: {why}")
        self.failed = True

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
            with os.fdopen(file, "rb") as opened:
                if name in SUMS or name == EXE or ZIP.fullmatch(name) or MSI.fullmatch(name):
                    files[name] = opened.read(LARGEST + 1)
                    if len(files[name]) > LARGEST:
                        del files[name]
                        self.fail(name, f"larger than any release file, {LARGEST >> 20} MiB")
                        continue
                    digests[name] = hashlib.sha256(files[name]).hexdigest()
                elif name in sums:
                    digests[name] = hashlib.file_digest(opened, "sha256").hexdigest()
            if name == SUMS[0]:
                sums = self.listed(files)
        os.close(folder)
        return files, digests, sums if SUMS[0] in files else self.listed(files)

    def sums_vouched(self, files, keys):
        """Who signed SHA256SUMS, when a key of the keyring did; None otherwise."""
        if "SHA256SUMS.asc" not in files:
            self.fail("SHA256SUMS.asc", "missing, so nothing vouches for SHA256SUMS")
            return None
        paths = {}
        for name, data in (("keyring.gpg", keys), ("SHA256SUMS.asc", files["SHA256SUMS.asc"]),
                           ("SHA256SUMS", files.get("SHA256SUMS", b""))):
            paths[name] = os.path.join(self.scratch, name)
            with open(paths[name], "wb") as out:
                out.write(data)
        home = os.path.join(self.scratch, "gnupg")
        os.mkdir(home, 0o700)
        # A home of its own: gpgv trusts no key but the keyring's, none of the user's.
        said = subprocess.run(
            ["gpgv", "--homedir", home, "--status-fd", "1", "--keyring", paths["keyring.gpg"],
             paths["SHA256SUMS.asc"], paths["SHA256SUMS"]],
            capture_output=True, text=True, errors="replace")
        status = [line.split(" ") for line in said.stdout.splitlines() if line.startswith("[GNUPG:] ")]
        kinds = [fields[1] for fields in status]
        if said.returncode != 0 or kinds.count("GOODSIG") != 1 or kinds.count("VALIDSIG") != 1 or (
            {"BADSIG", "ERRSIG", "EXPSIG", "EXPKEYSIG", "REVKEYSIG"} & set(kinds)
        ):
            self.fail("SHA256SUMS.asc", f"no good signature by a key in {shown(self.keyring_name)}")
            return None
        user = next(" ".join(f[3:]) for f in status if f[1] == "GOODSIG")
        user = re.sub(r"%([0-9A-Fa-f]{2})", lambda m: chr(int(m[1], 16)), user)
        return f"{shown(user)} ({next(f[-1] for f in status if f[1] == 'VALIDSIG')})"

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
            self.fail(name, f"Authenticode: {error}")
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
        each entry the same to every reader: to those reading its directory and to those reading
        its local headers in turn."""
        top, end_record = name[: -len(".zip")], len(data) - 22
        wanted = [f"{top}/{EXE}", f"{top}/README.md", f"{top}/LICENSE"]
        try:
            with zipfile.ZipFile(io.BytesIO(data)) as archive:
                entries = archive.infolist()
                # Every byte belongs to an entry, so no reader can find one that this one does not.
                at = 0
                for entry in sorted(entries, key=lambda e: e.header_offset):
                    if entry.header_offset != at:
                        raise zipfile.BadZipFile("bytes that are no entry's")
                    at = local_end(data, entry)
                if at != archive.start_dir or data[end_record : end_record + 4] != b"PK\x05\x06" or (
                    at + struct.unpack_from("<I", data, end_record + 12)[0] != end_record
                ):
                    raise zipfile.BadZipFile("bytes that are no entry's")
                self.holds_exactly(name, [entry.orig_filename for entry in entries], wanted)
                for entry in entries:
                    if entry.file_size > LARGEST:
                        raise zipfile.BadZipFile(
                            f"{ascii(entry.orig_filename)} larger than any release file")
                    is_program = entry.orig_filename == wanted[0]
                    if is_program and (program is None or entry.file_size != len(program)):
                        self.fail(name, f"its {EXE} is not the folder's")
                        continue
                    with archive.open(entry) as opened:  # in pieces: no entry is held whole
                        at = 0
                        while piece := opened.read(1 << 20):
                            if is_program and piece != program[at : at + len(piece)]:
                                self.fail(name, f"its {EXE} is not the folder's")
                                break
                            at += len(piece)
        except Exception as error:  # an encrypted entry or an unknown compression too
            self.fail(name, f"not a zip that can be read: {error}")

    def msi_program(self, name, data):
        """The installer's Zeduzovir.exe, when it holds exactly that file."""
        path, out = os.path.join(self.scratch, "installer.msi"), os.path.join(self.scratch, "installed")
        with open(path, "wb") as file:
            file.write(data)
        said = subprocess.run(["msiextract", "-C", out, path], capture_output=True, text=True)
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

    def run(self, keys):
        files, digests, sums = self.read_folder()
        vouched = self.sums_vouched(files, keys)
        for name in sorted(self.present - set(sums) - set(SUMS)):
            self.fail(name, "not listed in SHA256SUMS")
        signed = {EXE} | {n for n in files if MSI.fullmatch(n)}
        for name in sorted(sums):
            if name not in self.present:
                self.fail(name, "listed in SHA256SUMS, but not a file here")
            elif name not in digests:  # failed as it was read
                pass
            elif digests[name] != sums[name]:
                self.fail(name, "does not match SHA256SUMS")
            elif vouched is None and name not in signed:
                self.fail(name, "nothing vouches for it, as nothing vouches for SHA256SUMS")

        zips = sorted(n for n in self.present if ZIP.fullmatch(n))
        msis = sorted(n for n in self.present if MSI.fullmatch(n))
        for name, found in ((EXE, [EXE] if EXE in self.present else []),
                            ("Zeduzovir-VERSION-win64.zip", zips), ("Zeduzovir-VERSION-x64.msi", msis)):
            if len(found) != 1:
                self.fail(name, "missing" if not found else "more than one")
        signers, signed_by = {}, {}
        for name in [n for n in (EXE, *msis) if n in files]:
            signed_by[name] = self.authenticode(name, files[name], name != EXE)
            signers.setdefault(signed_by[name], []).append(name)
        program = files.get(EXE)
        zips, msis = [n for n in zips if n in files], [n for n in msis if n in files]
        for name in zips:
            self.zip_holds(name, files[name], program)
        for name in msis:  # only a signed installer is unpacked
            if signed_by[name] and self.msi_program(name, files[name]) != program:
                self.fail(name, f"its {EXE} is not the folder's")

        if self.failed:
            return 1
        say(f"PASS: every file in {shown(self.folder)} is the release's:")
        say(f"  SHA256SUMS, signed by {vouched}, a key of {shown(self.keyring_name)},"
            f" vouches for {', '.join(shown(n) for n in sorted(sums))}")
        authority = shown(self.ca) if self.ca else "the system's certificate authorities"
        for signer, names in sorted(signers.items()):
            say(f"  Authenticode signed by {shown(signer)}, under {authority}: {', '.join(names)}")
        say(f"  {', '.join(zips + msis)} hold that very {EXE} and no entry but the release's")
        return 0


def main(arguments):
    if not arguments or len(arguments) % 2 != 1:
        raise CannotCheck(USAGE)
    folder, options = arguments[0], {}
    for option, value in zip(arguments[1::2], arguments[2::2]):
        if option not in ("--keyring", "--ca") or option in options:
            raise CannotCheck(USAGE)
        try:
            with open(value, "rb") as file:
                options[option] = (value, file.read())
        except OSError as error:
            raise CannotCheck(f"cannot read {option} {shown(value)}: {error.strerror}")
    if "--keyring" not in options:
        raise CannotCheck(f"give the releaser's GnuPG key with --keyring; {USAGE}")
    for tool, package in TOOLS.items():
        if shutil.which(tool) is None:
            raise CannotCheck(f"needs {tool}, from the Debian package {package}")
    try:
        keys = keyring(options["--keyring"][1])
    except CannotCheck as error:
        raise CannotCheck(f"--keyring {shown(options['--keyring'][0])} {error}")
    ca = options.get("--ca", (None,))[0]
    if ca is not None and subprocess.run(["openssl", "x509", "-noout", "-in", ca],
                                         capture_output=True).returncode != 0:
        raise CannotCheck(f"--ca {shown(ca)} holds no certificate")
    with tempfile.TemporaryDirectory() as scratch:
        return Verifier(folder, options["--keyring"][0], ca, scratch).run(keys)


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except CannotCheck as error:
        say(f"verify-release.sh: {error}", sys.stderr)
        sys.exit(2)
    except Exception as error:  # a fault of this program's own: it has checked nothing
        say(f"verify-release.sh: cannot check: {error!r}", sys.stderr)
        sys.exit(2)
