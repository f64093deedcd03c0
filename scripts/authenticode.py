#!/usr/bin/env python3
"""Reads and checks Authenticode signatures (PKCS#7 SignedData) without trusting any tool's report.
  authenticode.py bare SIGNATURE         rewrites it in place as the bare DER, whichever form it is in
  authenticode.py wrapped SIGNATURE OUT  writes it inside a WIN_CERTIFICATE, as a program file holds it
  authenticode.py fits FILE SIGNATURE    exits 0 when SIGNATURE's primary signer signed FILE's bytes
Exits 1, saying why, otherwise. Only the primary signature counts, the one Windows shows: signatures
nested in it are never read. Needs openssl for the signature's arithmetic."""
import base64
import hashlib
import os
import re
import struct
import subprocess
import sys
import tempfile
from collections import namedtuple

SIGNED_DATA = bytes.fromhex("2a864886f70d010702")  # 1.2.840.113549.1.7.2
INDIRECT_DATA = bytes.fromhex("2b060104018237020104")  # 1.3.6.1.4.1.311.2.1.4
PE_IMAGE_DATA = bytes.fromhex("2b06010401823702010f")  # 1.3.6.1.4.1.311.2.1.15
SIP_INFO = bytes.fromhex("2b06010401823702011e")  # 1.3.6.1.4.1.311.2.1.30, the installer's
CONTENT_TYPE = bytes.fromhex("2a864886f70d010903")
MESSAGE_DIGEST = bytes.fromhex("2a864886f70d010904")
EXTENDED_KEY_USAGE, KEY_USAGE = bytes.fromhex("551d25"), bytes.fromhex("551d0f")
CODE_SIGNING = bytes.fromhex("2b06010505070303")  # 1.3.6.1.5.5.7.3.3
ANY_PURPOSE = bytes.fromhex("551d2500")  # 2.5.29.37.0
HASHES = {bytes.fromhex("60864801650304020" + n): name for n, name in
          (("1", "sha256"), ("2", "sha384"), ("3", "sha512"))}
WIN_CERT_REVISION_2, WIN_CERT_TYPE_PKCS_SIGNED_DATA = 0x0200, 0x0002
COMPOUND_FILE = bytes.fromhex("d0cf11e0a1b11ae1")
INSTALLER_SIGNATURE, INSTALLER_SIGNATURE_EX = "\x05DigitalSignature", "\x05MsiDigitalSignatureEx"


class NotASignature(Exception):
    pass


# A DER element: its tag, where it begins, where its content begins, where it ends.
Element = namedtuple("Element", "tag head start end")


def element(data, at=0):
    if at + 2 > len(data):
        raise NotASignature("cut short")
    tag, length, start = data[at], data[at + 1], at + 2
    if length & 0x80:
        count = length & 0x7F
        if count == 0 or count > 4 or start + count > len(data):
            raise NotASignature("a length DER does not allow")
        length, start = int.from_bytes(data[start : start + count], "big"), start + count
    if start + length > len(data):
        raise NotASignature("cut short")
    return Element(tag, at, start, start + length)


def children(data, parent):
    at = parent.start
    while at < parent.end:
        child = element(data, at)
        yield child
        at = child.end


def content(data, found):
    return data[found.start : found.end]


def expect(found, tag, what):
    if found.tag != tag:
        raise NotASignature(f"no {what}")
    return found


def bare(data):
    """The PKCS#7 DER alone, from either itself or a WIN_CERTIFICATE (padded to 8 bytes)."""
    if len(data) >= 8 and struct.unpack_from("<HH", data, 4) == (
        WIN_CERT_REVISION_2,
        WIN_CERT_TYPE_PKCS_SIGNED_DATA,
    ):
        data = data[8 : struct.unpack_from("<I", data)[0]]
        data = data[: element(data).end]
    if expect(element(data), 0x30, "PKCS#7 structure").end != len(data):
        raise NotASignature("bytes after its end")
    return data


def signed_data(data):
    content_info = list(children(data, expect(element(data), 0x30, "ContentInfo")))
    if len(content_info) != 2 or content(data, content_info[0]) != SIGNED_DATA:
        raise NotASignature("no SignedData")
    return list(children(data, expect(element(data, content_info[1].start), 0x30, "SignedData")))


def attributes(data, found):
    """An [0] or SET of attributes as {type: its one value}, each type once."""
    by_type = {}
    for attribute in children(data, found):
        kind, values = children(data, expect(attribute, 0x30, "attribute"))
        values = list(children(data, expect(values, 0x31, "attribute values")))
        if content(data, kind) in by_type or len(values) != 1:
            raise NotASignature("an attribute given twice")
        by_type[content(data, kind)] = values[0]
    return by_type


class Signed:
    """What a signature's primary signer vouches for, checked to be that signer's own words."""

    def __init__(self, data):
        fields = signed_data(data)
        inner = list(children(data, expect(fields[2], 0x30, "content")))
        if content(data, inner[0]) != INDIRECT_DATA:
            raise NotASignature("no Authenticode content")
        indirect = expect(element(data, inner[1].start), 0x30, "SpcIndirectDataContent")
        self.content = content(data, indirect)  # what the signer signs
        what, digest_info = children(data, indirect)
        self.kind = content(data, next(children(data, what)))
        algorithm, value = children(data, digest_info)
        self.hash = hash_name(data, algorithm)
        self.digest = content(data, expect(value, 0x04, "digest"))

        signer_infos = list(children(data, expect(fields[-1], 0x31, "SignerInfos")))
        if len(signer_infos) != 1:
            raise NotASignature("not one signer")
        info = list(children(data, signer_infos[0]))
        issuer_and_serial, signer_hash, signed_attributes = info[1], info[2], info[3]
        self.certificates = [data[c.head : c.end] for c in
                             children(data, expect(fields[3], 0xA0, "certificates"))]
        self.certificate = certificate_of(data, issuer_and_serial, self.certificates)
        self.signer_hash = hash_name(data, signer_hash)
        signed = attributes(data, expect(signed_attributes, 0xA0, "signed attributes"))
        if CONTENT_TYPE not in signed or content(data, signed[CONTENT_TYPE]) != INDIRECT_DATA:
            raise NotASignature("its signed content type is not Authenticode's")
        # The signer signs the content without its own tag and length, as PKCS#7 has it.
        if MESSAGE_DIGEST not in signed or content(data, signed[MESSAGE_DIGEST]) != hashlib.new(
            self.signer_hash, self.content
        ).digest():
            raise NotASignature("its signer did not sign the digest it holds")
        # What was signed is the attributes as a SET, though they are held as [0].
        self.signed_bytes = b"\x31" + data[signed_attributes.head + 1 : signed_attributes.end]
        self.signature = content(data, expect(info[5], 0x04, "signature value"))

    def check_arithmetic(self, scratch):
        """Raises unless the signer's key made the signature over the signed attributes."""
        key = tbs_fields(self.certificate)[5]
        for name, data in (("signer.key", pem(self.certificate[key.head : key.end], "PUBLIC KEY")),
                           ("signed", self.signed_bytes), ("signature", self.signature)):
            with open(os.path.join(scratch, name), "wb") as out:
                out.write(data)
        said = subprocess.run(
            ["openssl", "dgst", "-" + self.signer_hash, "-verify",
             os.path.join(scratch, "signer.key"), "-signature", os.path.join(scratch, "signature"),
             os.path.join(scratch, "signed")], capture_output=True, text=True)
        if said.returncode != 0 or said.stdout.strip() != "Verified OK":
            raise NotASignature("its signature was not made by its signer's key")


def hash_name(data, algorithm):
    name = HASHES.get(content(data, next(children(data, algorithm))))
    if name is None:
        raise NotASignature("a digest other than SHA-2")
    return name


def certificate_of(data, issuer_and_serial, certificates):
    wanted = [content(data, part) for part in children(data, issuer_and_serial)]
    for certificate in certificates:
        tbs = tbs_fields(certificate)
        if [content(certificate, tbs[2]), content(certificate, tbs[0])] == wanted:
            return certificate
    raise NotASignature("no certificate of its signer")


def tbs_fields(certificate):
    """A certificate's fields from its serial number on."""
    tbs = list(children(certificate, next(children(certificate, element(certificate)))))
    return tbs[1:] if tbs[0].tag == 0xA0 else tbs  # past the version


def extensions(certificate):
    """The certificate's extensions, {type: its value's element}, each type once."""
    found = {}
    for holder in (e for e in tbs_fields(certificate) if e.tag == 0xA3):
        for item in children(certificate, next(children(certificate, holder))):
            parts = list(children(certificate, item))
            if content(certificate, parts[0]) in found:
                raise NotASignature("a certificate extension given twice")
            found[content(certificate, parts[0])] = element(certificate, parts[-1].start)
    return found


def purposes(certificate):
    """The extended key usages the certificate names; None when it limits none."""
    usage = extensions(certificate).get(EXTENDED_KEY_USAGE)
    return None if usage is None else [
        content(certificate, purpose) for purpose in children(certificate, usage)]


def may_sign_code(certificate):
    """Whether the certificate says it is for code signing, and its key for signatures."""
    if CODE_SIGNING not in (purposes(certificate) or []):
        return False
    key_usage = extensions(certificate).get(KEY_USAGE)
    # digitalSignature is the first bit, after the byte counting the unused ones.
    return key_usage is None or len(content(certificate, key_usage)) > 1 and bool(
        content(certificate, key_usage)[1] & 0x80)


NAMES = {"550403": "CN", "550406": "C", "550407": "L", "550408": "ST", "55040a": "O",
         "55040b": "OU", "550405": "serialNumber", "2a864886f70d010901": "emailAddress"}


def subject(certificate):
    """The certificate's subject, most specific first, as RFC 4514 writes it."""
    parts = []
    for rdn in children(certificate, tbs_fields(certificate)[4]):
        for pair in children(certificate, rdn):
            kind, value = children(certificate, pair)
            kind = content(certificate, kind).hex()
            text = content(certificate, value)
            text = text.decode("utf-16-be" if value.tag == 0x1E else "utf-8", "replace")
            text = "".join("\\" + c if c in ',+"\\<>;=' else c for c in text)
            parts.append(f"{NAMES.get(kind, kind)}={text}")
    return ",".join(reversed(parts))


# Program files (PE): the signature is the certificate table, at the end; the digest covers
# every byte but the checksum, the table's directory entry and the table.
def program_parts(data):
    """The ranges Authenticode hashes, and the primary signature (None when unsigned)."""
    try:
        if data[:2] != b"MZ":
            raise NotASignature("not a program")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe : pe + 4] != b"PE\0\0":
            raise NotASignature("not a program")
        optional_size = struct.unpack_from("<H", data, pe + 20)[0]
        optional = pe + 24
        directories = optional + {0x10B: 96, 0x20B: 112}[struct.unpack_from("<H", data, optional)[0]]
        checksum, table_entry = optional + 64, directories + 4 * 8
        if struct.unpack_from("<I", data, directories - 4)[0] < 5 or (
            table_entry + 8 > optional + optional_size
        ):
            raise NotASignature("not a program")
        where, size = struct.unpack_from("<II", data, table_entry)
    except (struct.error, KeyError):
        raise NotASignature("not a program")
    end = where if size else len(data)
    ranges = [(0, checksum), (checksum + 4, table_entry), (table_entry + 8, end)]
    if not size:
        return ranges, None
    # One WIN_CERTIFICATE, the last thing in the file, padded with zeros only.
    if where % 8 or where + size != len(data) or where < table_entry + 8 or size < 8:
        raise NotASignature("a certificate table not at the program's end")
    length, revision, kind = struct.unpack_from("<IHH", data, where)
    if (revision, kind) != (WIN_CERT_REVISION_2, WIN_CERT_TYPE_PKCS_SIGNED_DATA) or (
        length + (-length % 8) != size
    ):
        raise NotASignature("a certificate table of other than one signature")
    signature = data[where + 8 : where + length]
    signature_end = element(signature).end
    if any(signature[signature_end:]) or any(data[where + length :]):
        raise NotASignature("bytes beside its signature")
    return ranges, signature[:signature_end]


def program_digest(data, hash_name_):
    ranges, _ = program_parts(data)
    digest = hashlib.new(hash_name_)
    for start, end in ranges:
        digest.update(data[start:end])
    digest.update(bytes(-ranges[-1][1] % 8))  # as signing pads an unsigned program
    return digest.digest()


# Installers (MSI) are compound files: the signature is a stream of the root storage, and the
# digest covers every other stream's bytes, by name order, and every storage's class id.
DirectoryEntry = namedtuple("DirectoryEntry", "name raw_name kind left right child clsid start size")


class CompoundFile:
    def __init__(self, data):
        try:
            self._read(data)
        except (struct.error, IndexError):
            raise NotASignature("not a compound file")

    def _read(self, data):
        if data[:8] != COMPOUND_FILE:
            raise NotASignature("not an installer")
        self.data = data
        major, byte_order, shift, mini_shift = struct.unpack_from("<4H", data, 0x1A)
        if (major, shift) not in ((3, 9), (4, 12)) or (byte_order, mini_shift) != (0xFFFE, 6):
            raise NotASignature("not a compound file")
        self.sector_size = 1 << shift
        fat_count, directory_start = struct.unpack_from("<II", data, 0x2C)
        self.mini_cutoff, mini_fat_start, _, difat_next, difat_count = struct.unpack_from(
            "<IIIII", data, 0x38)
        # Each chain visits a sector once, so no count can make it longer than the file.
        difat, seen = list(struct.unpack_from("<109I", data, 0x4C)), set()
        for _ in range(difat_count):
            if difat_next in seen or difat_next == 0xFFFFFFFE:
                raise NotASignature("a broken chain of sectors")
            seen.add(difat_next)
            words = self._words(self.sector(difat_next))
            difat += words[:-1]
            difat_next = words[-1]
        self.fat = [w for sector in difat[:fat_count] for w in self._words(self.sector(sector))]
        entries = self.chain(directory_start)
        self.entries = [self._entry(entries[at : at + 128]) for at in range(0, len(entries), 128)]
        root = self.entries[0]
        if root.kind != 5:
            raise NotASignature("no root storage")
        self.mini_stream = self.chain(root.start)[: root.size]
        self.mini_fat = self._words(self.chain(mini_fat_start))

    def _words(self, data):
        return list(struct.unpack(f"<{len(data) // 4}I", data))

    def _entry(self, raw):
        name_length = struct.unpack_from("<H", raw, 64)[0]
        if name_length > 64 or name_length % 2:
            raise NotASignature("a name longer than a compound file allows")
        raw_name = raw[:name_length]
        kind, = struct.unpack_from("<B", raw, 66)
        left, right, child = struct.unpack_from("<III", raw, 68)
        start, size = struct.unpack_from("<IQ", raw, 116)
        size = size if self.sector_size == 4096 else size & 0xFFFFFFFF
        name = raw_name.decode("utf-16-le", "surrogatepass").rstrip("\0")
        return DirectoryEntry(name, raw_name, kind, left, right, child, raw[80:96], start, size)

    def sector(self, number):
        at = (number + 1) * self.sector_size
        if at + self.sector_size > len(self.data):
            raise NotASignature("a sector beyond the file's end")
        return self.data[at : at + self.sector_size]

    def chain(self, start, fat=None, read=None, end_of_chain=0xFFFFFFFE):
        fat = self.fat if fat is None else fat
        read = read or self.sector
        parts, seen, at = [], set(), start
        while at != end_of_chain:
            if at in seen or at >= len(fat):
                raise NotASignature("a broken chain of sectors")
            seen.add(at)
            parts.append(read(at))
            at = fat[at]
        return b"".join(parts)

    def stream(self, entry):
        if entry.size < self.mini_cutoff:
            data = self.chain(entry.start, self.mini_fat, lambda n: self.mini_stream[n * 64 : n * 64 + 64])
        else:
            data = self.chain(entry.start)
        if len(data) < entry.size:
            raise NotASignature("a stream cut short")
        return data[: entry.size]

    def children(self, storage, seen=None):
        """The storage's entries, as its tree holds them; none of them one in SEEN, which they join."""
        found, waiting, seen = [], [storage.child], set() if seen is None else seen
        while waiting:
            at = waiting.pop()
            if at == 0xFFFFFFFF:
                continue
            if at in seen or at >= len(self.entries) or self.entries[at].kind not in (1, 2):
                raise NotASignature("a broken tree of entries")
            seen.add(at)
            found.append(self.entries[at])
            waiting += [self.entries[at].left, self.entries[at].right]
        return found

    def digest(self, hash_name_):
        digest = hashlib.new(hash_name_)
        seen = set()  # an entry in two storages could make the walk of the tree endless

        def storage(entry, depth):
            if depth > 32:
                raise NotASignature("storages within storages without end")
            # Byte order of the names as stored, as the signing tools compare them.
            for child in sorted(self.children(entry, seen), key=lambda e: e.raw_name):
                if depth == 0 and child.name == INSTALLER_SIGNATURE_EX:
                    # Windows would hash its metadata too; these signatures never hold it.
                    raise NotASignature("an extended signature, which is not checked here")
                if depth == 0 and child.name == INSTALLER_SIGNATURE:
                    continue
                if child.kind == 2:
                    digest.update(self.stream(child))
                else:
                    storage(child, depth + 1)
            digest.update(entry.clsid)

        storage(self.entries[0], 0)
        return digest.digest()

    def signature(self):
        found = [e for e in self.children(self.entries[0]) if e.name == INSTALLER_SIGNATURE]
        if not found:
            return None
        if len(found) != 1 or found[0].kind != 2:
            raise NotASignature("more than one signature")
        return bare(self.stream(found[0]))


def file_digest(data, hash_name_, installer):
    """The file's Authenticode digest, and the kind of content a signature of it names."""
    if installer:
        return CompoundFile(data).digest(hash_name_), SIP_INFO
    return program_digest(data, hash_name_), PE_IMAGE_DATA


def embedded_signature(data):
    if data[:8] == COMPOUND_FILE:
        return CompoundFile(data).signature()
    return program_parts(data)[1]


def check_fit(data, signature, scratch, installer=None):
    """The primary signature's Signed, when its signer signed exactly these bytes, which are an
    installer's or a program's as INSTALLER says (as their first bytes say when it is None)."""
    signed = Signed(signature)
    if installer is None:
        installer = data[:8] == COMPOUND_FILE
    digest, kind = file_digest(data, signed.hash, installer)
    if signed.kind != kind or signed.digest != digest:
        raise NotASignature("it is a signature of other bytes")
    signed.check_arithmetic(scratch)
    return signed


def name_field(certificate, at):
    field = tbs_fields(certificate)[at]
    return certificate[field.head : field.end]


def issuers(signed, anchors):
    """The certificates of the signature that can stand between its signer and an anchor, each
    raising unless its extended key usages allow code signing, as Windows requires of a chain."""
    found, waiting = [], [signed.certificate]
    while waiting:
        issuer = name_field(waiting.pop(), 2)
        if any(name_field(anchor, 4) == issuer for anchor in anchors):
            continue
        # Every one that has the name is checked, whichever one a verifier picks.
        for certificate in signed.certificates:
            if name_field(certificate, 4) == issuer and certificate not in found + [signed.certificate]:
                allowed = purposes(certificate)
                if allowed is not None and not {CODE_SIGNING, ANY_PURPOSE} & set(allowed):
                    raise NotASignature(f"its signer {subject(signed.certificate)} is under "
                                        f"{subject(certificate)}, a CA not for code signing")
                found.append(certificate)
                waiting.append(certificate)
    return found


def check_signer(signed, ca, scratch):
    """Raises unless the signer may sign code and chains to CA (the system's when None) through
    certificates that may too."""
    if not may_sign_code(signed.certificate):
        raise NotASignature(f"its signer {subject(signed.certificate)} is not for code signing")
    options = ["-no-CApath", "-no-CAstore", "-CAfile", ca] if ca else []
    anchors = []
    if ca:
        with open(ca, "rb") as file:
            anchors = [base64.b64decode(block) for block in re.findall(
                rb"-----BEGIN CERTIFICATE-----(.*?)-----END CERTIFICATE-----", file.read(), re.S)]
    # openssl gets no certificate but those checked here, so the chain it builds is one of them.
    others = b"".join(pem(c) for c in issuers(signed, anchors))
    if others:  # openssl refuses an empty file of them
        options += ["-untrusted", os.path.join(scratch, "chain.pem")]
        with open(options[-1], "wb") as out:
            out.write(others)
    signer = os.path.join(scratch, "signer.pem")
    with open(signer, "wb") as out:
        out.write(pem(signed.certificate))
    said = subprocess.run(["openssl", "verify", *options, signer], capture_output=True, text=True)
    if said.returncode != 0 or said.stdout.strip() != f"{signer}: OK":
        raise NotASignature(f"its signer {subject(signed.certificate)} does not chain to "
                            + (ca or "the system's certificate authorities"))


def pem(der, label="CERTIFICATE"):
    text = base64.b64encode(der).decode()
    lines = "".join(text[at : at + 64] + "\n" for at in range(0, len(text), 64))
    return f"-----BEGIN {label}-----\n{lines}-----END {label}-----\n".encode()


def main(command, path, other=None):
    if command == "fits":
        with open(path, "rb") as file, open(other, "rb") as signature:
            data, signature = file.read(), bare(signature.read())
        with tempfile.TemporaryDirectory() as scratch:
            check_fit(data, signature, scratch)
        return
    data = bare(open(path, "rb").read())
    if command == "bare":
        open(path, "wb").write(data)
    elif command == "wrapped":
        padded = data + bytes(-len(data) % 8)
        header = struct.pack(
            "<IHH", 8 + len(padded), WIN_CERT_REVISION_2, WIN_CERT_TYPE_PKCS_SIGNED_DATA
        )
        open(other, "wb").write(header + padded)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    if len(sys.argv) != (3 if sys.argv[1:2] == ["bare"] else 4):
        sys.exit(__doc__)
    try:
        main(*sys.argv[1:])
    except (NotASignature, ValueError, IndexError, StopIteration) as error:
        sys.exit(str(error) if sys.argv[1] == "fits" else
                 f"authenticode.py: {sys.argv[-1]} is not a detached Authenticode signature: {error}")
