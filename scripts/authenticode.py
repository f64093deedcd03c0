#!/usr/bin/env python3
"""Reads and checks Authenticode signatures (PKCS#7 SignedData) without trusting any tool's report.
  authenticode.py bare SIGNATURE         rewrites it in place as the bare DER, whichever form it is in
  authenticode.py wrapped SIGNATURE OUT  writes it inside a WIN_CERTIFICATE, as a program file holds it
  authenticode.py fits FILE SIGNATURE    exits 0 when SIGNATURE's primary signer signed FILE's bytes
Exits 1, saying why, otherwise. Only the primary signature counts, the one Windows shows: signatures
nested in it are never read. Checking needs Debian's python3-asn1crypto (CMS and X.509) and
python3-olefile (the installer's compound file), and openssl for the signature's arithmetic."""
import base64
import hashlib
import io
import os
import struct
import subprocess
import sys
import tempfile
import uuid

try:
    import olefile
    from asn1crypto import algos, cms, core, x509
except ImportError:  # bare and wrapped need neither: release.sh runs them with any python3
    olefile = None
else:
    class SpcAttributeTypeAndOptionalValue(core.Sequence):
        _fields = [("type", core.ObjectIdentifier), ("value", core.Any, {"optional": True})]

    class SpcIndirectDataContent(core.Sequence):  # what an Authenticode signer signs
        _fields = [("data", SpcAttributeTypeAndOptionalValue), ("message_digest", algos.DigestInfo)]

INDIRECT_DATA = "1.3.6.1.4.1.311.2.1.4"
PE_IMAGE_DATA, SIP_INFO = "1.3.6.1.4.1.311.2.1.15", "1.3.6.1.4.1.311.2.1.30"  # program, installer
SHA2 = ("sha256", "sha384", "sha512")
WIN_CERT_REVISION_2, WIN_CERT_TYPE_PKCS_SIGNED_DATA = 0x0200, 0x0002
COMPOUND_FILE = bytes.fromhex("d0cf11e0a1b11ae1")
INSTALLER_SIGNATURE, INSTALLER_SIGNATURE_EX = "\x05DigitalSignature", "\x05MsiDigitalSignatureEx"
END_OF_CHAIN, FAT_SECTOR, DIFAT_SECTOR = 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFC
MOST_ENTRIES = 4096  # directory entries: far more than an installer of one program has
MOST_CERTIFICATES = 32  # in a signature, which carries its signer's chain
NAMES = {"common_name": "CN", "country_name": "C", "locality_name": "L", "organization_name": "O",
         "state_or_province_name": "ST", "organizational_unit_name": "OU",
         "serial_number": "serialNumber", "email_address": "emailAddress"}


class NotASignature(Exception):
    pass


def der_end(data):
    """Where the DER element at DATA's start ends."""
    if len(data) < 2:
        raise NotASignature("cut short")
    length, start = data[1], 2
    if length & 0x80:
        if not 0 < length & 0x7F <= 4:
            raise NotASignature("a length DER does not allow")
        start += length & 0x7F
        length = int.from_bytes(data[2:start], "big")
    if start + length > len(data):
        raise NotASignature("cut short")
    return start + length


def bare(data):
    """The PKCS#7 DER alone, from either itself or a WIN_CERTIFICATE (padded to 8 bytes)."""
    if len(data) >= 8 and struct.unpack_from("<HH", data, 4) == (
        WIN_CERT_REVISION_2, WIN_CERT_TYPE_PKCS_SIGNED_DATA
    ):
        data = data[8 : struct.unpack_from("<I", data)[0]]
        data = data[: der_end(data)]
    if data[:1] != b"\x30" or der_end(data) != len(data):
        raise NotASignature("no PKCS#7 structure alone")
    return data


def hash_of(algorithm):
    name = algorithm["algorithm"].native
    if name not in SHA2:
        raise NotASignature("a digest other than SHA-2")
    return name


class Signed:
    """What a signature's primary signer vouches for, checked to be that signer's own words."""

    def __init__(self, data):
        info = cms.ContentInfo.load(data, strict=True)
        if info["content_type"].native != "signed_data":
            raise NotASignature("no SignedData")
        signed = info["content"]
        content = signed["encap_content_info"]
        if content["content_type"].dotted != INDIRECT_DATA:
            raise NotASignature("no Authenticode content")
        indirect = content["content"].parse(SpcIndirectDataContent)
        self.content = indirect.contents  # what the signer signs, without its tag and length
        self.kind = indirect["data"]["type"].dotted
        self.hash = hash_of(indirect["message_digest"]["digest_algorithm"])
        self.digest = indirect["message_digest"]["digest"].native

        if len(signed["signer_infos"]) != 1:
            raise NotASignature("not one signer")
        signer = signed["signer_infos"][0]
        self.certificates = [c.chosen for c in signed["certificates"] if c.name == "certificate"]
        if len(signed["certificates"]) > MOST_CERTIFICATES:  # each may be checked against each
            raise NotASignature("more certificates than any signature carries")
        wanted = signer["sid"].chosen
        self.certificate = next((c for c in self.certificates if signer["sid"].name ==
                                 "issuer_and_serial_number" and c.issuer.dump() ==
                                 wanted["issuer"].dump() and c.serial_number ==
                                 wanted["serial_number"].native), None)
        if self.certificate is None:
            raise NotASignature("no certificate of its signer")
        self.signer_hash = hash_of(signer["digest_algorithm"])
        if isinstance(signer["signed_attrs"], core.Void):
            raise NotASignature("no signed attributes")
        attributes = {}
        for attribute in signer["signed_attrs"]:
            if attribute["type"].dotted in attributes or len(attribute["values"]) != 1:
                raise NotASignature("an attribute given twice")
            attributes[attribute["type"].dotted] = attribute["values"][0]
        if attributes.get("1.2.840.113549.1.9.3", core.Null()).dump() != content["content_type"].dump():
            raise NotASignature("its signed content type is not Authenticode's")
        if attributes.get("1.2.840.113549.1.9.4", core.Null()).native != hashlib.new(
            self.signer_hash, self.content
        ).digest():
            raise NotASignature("its signer did not sign the digest it holds")
        # What was signed is the attributes as a SET, though they are held as [0].
        self.signed_bytes = b"\x31" + signer["signed_attrs"].dump()[1:]
        self.signature = signer["signature"].native
        # asn1crypto reads BER too: only DER, which encodes each value one way, is taken.
        if info.dump(force=True) != data:
            raise NotASignature("not in DER")

    def check_arithmetic(self, scratch):
        """Raises unless the signer's key made the signature over the signed attributes."""
        key = self.certificate["tbs_certificate"]["subject_public_key_info"].dump()
        for name, data in (("signer.key", key), ("signed", self.signed_bytes),
                           ("signature", self.signature)):
            with open(os.path.join(scratch, name), "wb") as out:
                out.write(data)
        said = subprocess.run(
            ["openssl", "dgst", "-" + self.signer_hash, "-keyform", "DER", "-verify", "signer.key",
             "-signature", "signature", "signed"], cwd=scratch, capture_output=True, text=True,
            timeout=60)
        if said.returncode != 0 or said.stdout.strip() != "Verified OK":
            raise NotASignature("its signature was not made by its signer's key")


def purposes(certificate):
    """The extended key usages the certificate names; None when it limits none. A certificate
    naming an extension twice names none the same to every reader, so it is refused."""
    kinds = [e["extn_id"].dotted for e in certificate["tbs_certificate"]["extensions"]]
    if len(set(kinds)) != len(kinds):
        raise NotASignature(f"{subject(certificate)} gives a certificate extension twice")
    usage = certificate.extended_key_usage_value
    return None if usage is None else usage.native


def may_sign_code(certificate):
    """Whether the certificate says it is for code signing, and its key for signatures."""
    usage = certificate.key_usage_value
    return "code_signing" in (purposes(certificate) or []) and (
        usage is None or "digital_signature" in usage.native)


def subject(certificate):
    """The certificate's subject, most specific first, as RFC 4514 writes it."""
    parts = []
    for rdn in reversed(certificate.subject.chosen):
        for pair in rdn:
            text = str(pair["value"].native)
            text = "".join("\\" + c if c in ',+"\\<>;=' else c for c in text)
            parts.append(f"{NAMES.get(pair['type'].native, pair['type'].dotted)}={text}")
    return ",".join(parts)


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
    signature_end = der_end(signature)
    if any(signature[signature_end:]) or any(data[where + length :]):
        raise NotASignature("bytes beside its signature")
    return ranges, signature[:signature_end]


def program_digest(data, hash_name):
    ranges, _ = program_parts(data)
    digest = hashlib.new(hash_name)
    for start, end in ranges:
        digest.update(data[start:end])
    digest.update(bytes(-ranges[-1][1] % 8))  # as signing pads an unsigned program
    return digest.digest()


# Installers (MSI) are compound files: the signature is a stream of the root storage, and the
# digest covers every other stream's bytes, by name order, and every storage's class id.
def claim(used, fat, at, count=None):
    """Adds the COUNT sectors of the chain from AT (all of them when None) to USED, which holds
    none of them yet: no sector is read for two streams, so the work is bounded by the file."""
    for _ in range(len(fat) if count is None else count):
        if at == END_OF_CHAIN and count is None:
            return
        if at >= len(fat) or at in used:
            raise NotASignature("a sector in two chains, or a chain that leaves the file")
        used.add(at)
        at = fat[at]
    if at != END_OF_CHAIN:
        raise NotASignature("a chain of sectors longer than its stream")


class Installer:
    """The compound file, as olefile reads it with every defect raised, once bounded: olefile
    reads as many FAT sectors as the header counts, and follows a stream's chain as far as its
    size says, however often other streams use the same sectors."""

    def __init__(self, data):
        if data[:8] != COMPOUND_FILE:
            raise NotASignature("not an installer")
        size = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        fats, directory, _, _, _, minifats, at, difats = struct.unpack_from("<8I", data, 0x2C)
        sectors, per_sector = len(data) // size - 1, size // 4
        if size not in (512, 4096) or len(data) % size or fats > -(-sectors // per_sector) or (
            minifats > sectors or difats != max(0, -(-(fats - 109) // (per_sector - 1)))
        ):
            raise NotASignature("a header whose counts of sectors do not fit the file")
        difat, difat_sectors = list(struct.unpack_from("<109I", data, 0x4C)), []
        for _ in range(difats):
            if at >= sectors:
                raise NotASignature("a DIFAT sector beyond the file's end")
            words = struct.unpack_from(f"<{per_sector}I", data, (at + 1) * size)
            difat_sectors, at = difat_sectors + [at], words[-1]
            difat += words[:-1]
        # olefile takes every directory entry before any check of ours: their number is bounded.
        for _ in range(MOST_ENTRIES * 128 // size):
            if directory == END_OF_CHAIN:
                break
            fat_sector = difat[directory // per_sector] if directory // per_sector < fats else sectors
            if fat_sector >= sectors:
                raise NotASignature("a chain that leaves the file")
            at = (fat_sector + 1) * size + directory % per_sector * 4
            directory = struct.unpack_from("<I", data, at)[0]
        else:
            raise NotASignature(f"more than {MOST_ENTRIES} directory entries")
        self.ole = ole = olefile.OleFileIO(io.BytesIO(data), raise_defects=olefile.DEFECT_UNSURE)
        used, fat = set(), ole.fat
        # The FAT's and DIFAT's own sectors, each marked as such, and then each stream's.
        marked = [(at, DIFAT_SECTOR) for at in difat_sectors] + [(at, FAT_SECTOR) for at in difat[:fats]]
        for at, mark in marked:
            if at >= len(fat) or at in used or fat[at] != mark:
                raise NotASignature("a FAT or DIFAT sector not marked as one")
            used.add(at)
        claim(used, fat, ole.first_dir_sector)
        claim(used, fat, ole.minifatsect, minifats)
        claim(used, fat, ole.root.isectStart, -(-ole.root.size // size))
        if ole.root.size:
            ole.loadminifat()
        mini_used, waiting = set(), [ole.root]
        while waiting:
            for entry in waiting.pop().kids:
                end = entry.namelength
                if end < 2 or end % 2 or entry.name_raw[end - 2 : end] != b"\0\0":
                    raise NotASignature("a name not ended as a compound file ends it")
                if entry.entry_type == olefile.STGTY_STORAGE:
                    waiting.append(entry)
                elif entry.size < ole.minisectorcutoff:
                    claim(mini_used, ole.minifat or [], entry.isectStart, -(-entry.size // 64))
                else:
                    claim(used, fat, entry.isectStart, -(-entry.size // size))

    def digest(self, hash_name):
        digest = hashlib.new(hash_name)

        def storage(entry, path):
            # Byte order of the names as stored, as the signing tools compare them.
            for child in sorted(entry.kids, key=lambda e: e.name_utf16):
                if not path and child.name == INSTALLER_SIGNATURE_EX:
                    # Windows would hash its metadata too; these signatures never hold it.
                    raise NotASignature("an extended signature, which is not checked here")
                if not path and child.name == INSTALLER_SIGNATURE:
                    continue
                if child.entry_type == olefile.STGTY_STREAM:
                    digest.update(self.ole.openstream(path + [child.name]).read())
                else:
                    storage(child, path + [child.name])
            digest.update(uuid.UUID(entry.clsid).bytes_le if entry.clsid else bytes(16))

        storage(self.ole.root, [])
        return digest.digest()

    def signature(self):
        found = [e for e in self.ole.root.kids if e.name == INSTALLER_SIGNATURE]
        if found and found[0].entry_type != olefile.STGTY_STREAM:
            raise NotASignature("a signature that is no stream")
        return bare(self.ole.openstream([INSTALLER_SIGNATURE]).read()) if found else None


def file_digest(data, hash_name, installer):
    """The file's Authenticode digest, and the kind of content a signature of it names."""
    if installer:
        return Installer(data).digest(hash_name), SIP_INFO
    return program_digest(data, hash_name), PE_IMAGE_DATA


def embedded_signature(data):
    if data[:8] == COMPOUND_FILE:
        return Installer(data).signature()
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


def for_code(certificate):
    """Whether a certificate may stand above a code signer: one that says it issues none (as
    openssl reads it: CA false, or a key not for signing certificates), or one that allows code
    signing. No basic constraints at all is no such word: openssl takes that for an anchor."""
    usage = certificate.key_usage_value
    if (certificate.basic_constraints_value is not None and not certificate.ca) or (
            usage is not None and "key_cert_sign" not in usage.native):
        return True
    allowed = purposes(certificate)
    return allowed is None or bool({"code_signing", "any_extended_key_usage"} & set(allowed))


def check_signer(signed, ca, scratch):
    """Raises unless the signer may sign code and chains to CA (its name, its copy's path and its
    certificates; the system's authorities when None) through certificates that each allow code
    signing, as Windows requires, the CA file's included; saying why openssl refused it when it
    did. openssl is shown only such certificates, so that whichever it matches by name, no chain
    it builds goes through another."""
    if not may_sign_code(signed.certificate):
        raise NotASignature(f"its signer {subject(signed.certificate)} is not for code signing")
    others = [c for c in signed.certificates if c is not signed.certificate]

    def verify(only_for_code):
        def written(option, name, found):
            found = [c for c in found if for_code(c) or not only_for_code]
            if not found:  # openssl refuses a file of none
                return []
            with open(os.path.join(scratch, name), "w") as out:
                out.write("".join(map(pem, found)))
            return [option, out.name] if option else [out.name]
        options = written("-untrusted", "chain.pem", others)
        if ca:
            options += ["-no-CApath", "-no-CAstore", *written("-CAfile", "anchors.pem", ca[2])]
        return subprocess.run(["openssl", "verify", *options, *written("", "signer.pem", [signed.certificate])],
                              capture_output=True, text=True, errors="replace", timeout=60)
    authority = ca[0] if ca else "the system's certificate authorities"
    said = verify(True)
    if said.returncode == 0 and said.stdout.strip() == f"{os.path.join(scratch, 'signer.pem')}: OK":
        return
    if verify(False).returncode == 0:
        raise NotASignature(f"its signer {subject(signed.certificate)} chains to {authority} only "
                            "through a CA not for code signing")
    reasons = [line.partition(" lookup: ")[2] for line in said.stderr.splitlines()
               if " depth lookup: " in line] or [" ".join(said.stderr.split())]
    raise NotASignature(f"openssl refuses its signer {subject(signed.certificate)} under "
                        f"{authority}: {'; '.join(reasons)}")


def certificates(data):
    """The certificates of a PEM file, each checked whole; split, not matched by a lazy pattern,
    which takes time squared in the number of blocks, as openssl's reader does."""
    found = []
    for block in data.split(b"-----BEGIN CERTIFICATE-----")[1:]:
        text, end, _ = block.partition(b"-----END CERTIFICATE-----")
        if end:
            found.append(x509.Certificate.load(base64.b64decode(text), strict=True))
            found[-1].subject.dump(), found[-1].issuer.dump()  # parsed now, not when first used
    return found


def pem(certificate):
    text = base64.encodebytes(certificate.dump()).decode()
    return f"-----BEGIN CERTIFICATE-----\n{text}-----END CERTIFICATE-----\n"


def main(command, path, other=None):
    if command == "fits" and olefile is None:
        raise NotASignature("needs Debian's python3-asn1crypto and python3-olefile")
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
        open(other, "wb").write(struct.pack("<IHH", 8 + len(padded), WIN_CERT_REVISION_2,
                                            WIN_CERT_TYPE_PKCS_SIGNED_DATA) + padded)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    if len(sys.argv) != (3 if sys.argv[1:2] == ["bare"] else 4):
        sys.exit(__doc__)
    try:
        main(*sys.argv[1:])
    except Exception as error:  # whatever the file holds, it is no signature that fits
        sys.exit(ascii(str(error))[1:-1] if sys.argv[1] == "fits" else
                 f"authenticode.py: {sys.argv[-1]} is not a detached Authenticode signature: {error}")
