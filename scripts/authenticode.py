#!/usr/bin/env python3
"""Reads detached Authenticode signatures (PKCS#7 SignedData) without trusting any tool's report.
  authenticode.py bare SIGNATURE         rewrites it in place as the bare DER, whichever form it is in
  authenticode.py wrapped SIGNATURE OUT  writes it inside a WIN_CERTIFICATE, as a program file holds it
  authenticode.py digest SIGNATURE       prints the digest algorithm and the file digest it signs
  authenticode.py signer SIGNATURE       writes the signer's certificate, DER, to standard output
Exits 1, saying why, when the signature is not one."""
import struct
import sys
from collections import namedtuple

SIGNED_DATA = bytes.fromhex("2a864886f70d010702")  # 1.2.840.113549.1.7.2
INDIRECT_DATA = bytes.fromhex("2b060104018237020104")  # 1.3.6.1.4.1.311.2.1.4
WIN_CERT_REVISION_2, WIN_CERT_TYPE_PKCS_SIGNED_DATA = 0x0200, 0x0002


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


def digest(data):
    fields = signed_data(data)
    inner = list(children(data, expect(fields[2], 0x30, "content")))
    if content(data, inner[0]) != INDIRECT_DATA:
        raise NotASignature("no Authenticode content")
    indirect = expect(element(data, inner[1].start), 0x30, "SpcIndirectDataContent")
    algorithm, value = children(data, list(children(data, indirect))[1])
    return content(data, algorithm).hex() + " " + content(data, expect(value, 0x04, "digest")).hex()


def signer(data):
    fields = signed_data(data)
    signer_info = list(children(data, expect(fields[-1], 0x31, "SignerInfos")))
    if len(signer_info) != 1:
        raise NotASignature("not one signer")
    issuer_and_serial = list(children(data, list(children(data, signer_info[0]))[1]))
    wanted = [content(data, part) for part in issuer_and_serial]
    for certificate in children(data, expect(fields[3], 0xA0, "certificate")):
        tbs = list(children(data, next(children(data, certificate))))
        tbs = tbs[1:] if tbs[0].tag == 0xA0 else tbs  # past the version
        if [content(data, tbs[2]), content(data, tbs[0])] == wanted:
            return data[certificate.head : certificate.end]
    raise NotASignature("no certificate of its signer")


def main(command, path, *out):
    data = bare(open(path, "rb").read())
    if command == "bare":
        open(path, "wb").write(data)
    elif command == "wrapped":
        padded = data + bytes(-len(data) % 8)
        header = struct.pack(
            "<IHH", 8 + len(padded), WIN_CERT_REVISION_2, WIN_CERT_TYPE_PKCS_SIGNED_DATA
        )
        open(out[0], "wb").write(header + padded)
    elif command == "digest":
        print(digest(data))
    elif command == "signer":
        sys.stdout.buffer.write(signer(data))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    if len(sys.argv) != (4 if sys.argv[1:2] == ["wrapped"] else 3):
        sys.exit(__doc__)
    try:
        main(*sys.argv[1:])
    except (NotASignature, ValueError, IndexError, StopIteration) as error:
        sys.exit(f"authenticode.py: {sys.argv[-1]} is not a detached Authenticode signature: {error}")
