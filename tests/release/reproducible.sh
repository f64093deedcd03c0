#!/usr/bin/env bash
# Builds the release files twice, from copies of the checkout at different paths, with another
# umask, time zone, locale and (as root) user; fails naming each file whose bytes differ. The
# first build signs, with a code-signing certificate and a GnuPG key made for this run; the
# second attaches the signatures the first left, as anyone's rebuild does. verify-release.sh
# must pass on both and fail on every attack below, and a signature of other bytes must not
# attach.
#   reproducible.sh SOURCE_DIR
set -euo pipefail
source=$(cd "$1" && pwd)
scratch=$(mktemp -d)
keys=$scratch/keys
export GNUPGHOME=$keys/gnupg
trap 'gpgconf --kill all 2>/dev/null; rm -rf "$scratch"' EXIT
export SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
first=$scratch/first
second=$scratch/a/second/checked-out-later
for copy in "$first" "$second"; do
  mkdir -p "$copy"
  git -C "$source" ls-files -z | (cd "$source" && xargs -0 cp --parents -t "$copy")
done
touch "$second/README.md"

mkdir -p -m 700 "$GNUPGHOME"
cd "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Test CA" \
  -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -x509 -CA ca.pem -CAkey ca.key -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem \
  -days 2 -subj "/CN=Test signer" -addext extendedKeyUsage=codeSigning 2>/dev/null
gpg --batch --passphrase '' --quick-gen-key "Test signer <test@zeduzovir.invalid>" ed25519 sign 1d \
  2>/dev/null
gpg --export >keyring.gpg
fingerprint=$(gpg --list-secret-keys --with-colons | awk -F: '/^fpr/ { print $10; exit }')

# The releaser's checkout: signing refuses it while a file may differ from the commit: a changed
# one, an untracked one (a quoted #include finds it), one git is told not to look at.
sign=(scripts/release.sh --sign-cert "$keys/cert.pem" --sign-key "$keys/key.pem" --gpg-key "$fingerprint")
(cd "$first" && git init -q && git add -A && git -c user.name=R -c user.email=r@r commit -qm R)
for change in "echo >>README.md" "touch src/untracked.h" \
  "git update-index --assume-unchanged README.md && echo >>README.md" \
  "git update-index --skip-worktree README.md && echo >>README.md"; do
  (cd "$first" && eval "$change")
  for signing in "${sign[*]:1:4}" "${sign[*]:5}"; do  # code signing, and --gpg-key alone
    # shellcheck disable=SC2086 # the options, split as they were joined
    (cd "$first" && scripts/release.sh $signing >/dev/null 2>&1) && status=0 || status=$?
    [ $status -eq 2 ] && [ ! -e "$first/build/release" ] ||
      { echo "FAIL: release.sh $signing signed after $change, or wrote files (exit $status)"; exit 1; }
  done
  git -C "$first" update-index --no-assume-unchanged README.md  # one mark a call
  git -C "$first" update-index --no-skip-worktree README.md
  git -C "$first" checkout -q README.md && rm -f "$first/src/untracked.h"
done
(cd "$first" && umask 022 && TZ=UTC LC_ALL=C.UTF-8 "${sign[@]}" >/dev/null)
for signature in "$first"/resources/signatures/*/*.sig; do
  openssl pkcs7 -inform DER -in "$signature" -noout || { echo "FAIL: $signature is not bare DER"; exit 1; }
done
cp -r "$first/resources/signatures" "$second/resources/"  # as the releaser commits them
as=()
if [ "$(id -u)" -eq 0 ]; then
  chmod 755 "$scratch" && chown -R nobody "$scratch/a"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
(cd "$second" && "${as[@]}" env TZ=Asia/Tokyo LC_ALL=C LANG=de_DE.UTF-8 HOME="$scratch" \
  bash -c 'umask 002 && scripts/release.sh' >/dev/null)

differ=$(diff "$first/build/release/SHA256SUMS" "$second/build/release/SHA256SUMS" |
         sed -n 's/^< [0-9a-f]*  //p' || true)
[ -z "$differ" ] || { echo "FAIL: built twice, these differ:" $differ; exit 1; }

verify=("$source/scripts/verify-release.sh")
trusted=(--ca ca.pem --keyring keyring.gpg)
# The published signature of SHA256SUMS vouches for the rebuild too, as its bytes are the same.
cp "$first/build/release/SHA256SUMS.asc" "$second/build/release/"
"${verify[@]}" "$first/build/release" "${trusted[@]}" >/dev/null
"${verify[@]}" "$second/build/release" "${trusted[@]}"

# What attackers bring: a self-signed code-signing certificate, a CA for servers only under the CA
# and a code-signing certificate from it, a CA file whose name moves the terminal's cursor,
# a GnuPG key of their own (which this user's GnuPG even trusts), an installer holding another
# program beside an extra file, a PATH without msiextract, and system CAs that trust the test CA.
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout Rogue.key \
  -out Rogue.pem -days 2 -subj /CN=Rogue -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl req -x509 -CA ca.pem -CAkey ca.key -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
  -keyout "Test server.key" -out "Test server.pem" -days 2 -subj "/CN=Test server" \
  -addext basicConstraints=critical,CA:true -addext extendedKeyUsage=serverAuth 2>/dev/null
openssl req -x509 -CA "Test server.pem" -CAkey "Test server.key" -newkey ec \
  -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout Served.key -out Served.pem -days 2 \
  -subj /CN=Served -addext extendedKeyUsage=codeSigning 2>/dev/null
cp Served.pem Lone.pem && cp Served.key Lone.key  # its CA only in a CA file
cat "Test server.pem" >>Served.pem && cat "Test server.pem" ca.pem >servers.pem
# A signer issued under that CA's key but its name in capitals, with decoys of that name that
# allow code signing: a walk by names as bytes finds them, and not the CA openssl chains to.
ec=(-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2)
openssl req -x509 -key "Test server.key" -out capitals.pem -days 2 -subj "/CN=TEST SERVER" \
  -addext basicConstraints=critical,CA:true 2>/dev/null
openssl req -x509 -CA capitals.pem -CAkey "Test server.key" "${ec[@]}" -keyout Cased.key \
  -out Cased.pem -subj /CN=Cased -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl req -x509 -CA "Test server.pem" -CAkey "Test server.key" "${ec[@]}" -keyout decoy.key \
  -out decoy.pem -subj /CN=Decoy -addext basicConstraints=critical,CA:true 2>/dev/null
openssl req -x509 -CA decoy.pem -CAkey decoy.key "${ec[@]}" -keyout upper.key -out upper.pem \
  -subj "/CN=TEST SERVER" -addext basicConstraints=critical,CA:true 2>/dev/null
cat upper.pem decoy.pem "Test server.pem" >>Cased.pem
cp Rogue.pem "$(printf 'Rogue\033[2K.pem')"
openssl req -x509 -CA ca.pem -CAkey ca.key -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
  -keyout Odd.key -out Odd.pem -days 2 -subj /CN=Odd -addext extendedKeyUsage=codeSigning \
  -addext 1.3.6.1.4.1.55555.1=critical,DER:0500 2>/dev/null
gpg --batch --passphrase '' --quick-gen-key "Stranger <stranger@zeduzovir.invalid>" ed25519 sign 1d \
  2>/dev/null
gpg --export stranger@zeduzovir.invalid >"$GNUPGHOME/trustedkeys.gpg"
{ gpg --armor --export stranger@zeduzovir.invalid && gpg --armor --export "$fingerprint"; } >keys.asc
# Signatures of SHA256SUMS by a key that had expired when it signed (its expiry set later, dated
# before the signature) and by one that expired after it signed; the releaser's key revoked. Each
# key in a keyring of its own.
now=$(date +%s)
for key in late:never:72 old:1d:108; do  # NAME:EXPIRY:SIGNED HOURS AGO, the key made 120 hours ago
  IFS=: read -r name expiry ago <<<"$key"
  gpg --batch --passphrase '' --faked-system-time $((now - 432000)) --quick-gen-key \
    "$name <$name@zeduzovir.invalid>" ed25519 sign "$expiry" 2>/dev/null
  gpg --batch --faked-system-time $((now - ago * 3600)) --local-user "$name@zeduzovir.invalid" \
    --armor --detach-sign -o "$name.asc" "$second/build/release/SHA256SUMS" 2>/dev/null
done
gpg --batch --faked-system-time $((now - 9 * 43200)) --quick-set-expire \
  "$(gpg --with-colons --list-keys late@zeduzovir.invalid | awk -F: '/^fpr/ { print $10; exit }')" \
  1d 2>/dev/null
gpg --export late@zeduzovir.invalid >late.gpg && gpg --export old@zeduzovir.invalid >old.gpg
mkdir -m 700 revoking
sed 's/^:-----/-----/' "$GNUPGHOME/openpgp-revocs.d/$fingerprint.rev" >revocation.asc
GNUPGHOME=$keys/revoking gpg --batch --import keyring.gpg revocation.asc 2>/dev/null
GNUPGHOME=$keys/revoking gpg --export >withdrawn.gpg
osslsigncode remove-signature -in "$second/build/release/Zeduzovir.exe" -out unsigned.exe >/dev/null
sed 's|^\( *KeyPath="yes"/>\)|\1<File Id="Extra" Name="extra.dll" Source="$(var.ProgramFile)"/>|' \
  "$source/resources/windows/zeduzovir.wxs" >extra.wxs
bash "$source/resources/windows/make_msi.sh" other.msi extra.wxs unsigned.exe \
  "$source/resources/zeduzovir.ico" 1.0.0 00000000-0000-0000-0000-000000000001
osslsigncode sign -certs cert.pem -key key.pem -h sha256 -in other.msi -out signed-other.msi >/dev/null
mkdir no-msitools system-cas && mkfifo fifo && : >empty.gpg
cp ca.pem system-cas/ && openssl rehash system-cas
find /usr/bin -maxdepth 1 ! -type d ! -name msiextract -exec ln -s -t no-msitools {} +

# shellcheck disable=SC2120 # the attacks give it a key
sign_sums() {  # [KEY]
  rm -f SHA256SUMS.asc
  gpg --batch ${1:+--local-user "$1"} --armor --detach-sign SHA256SUMS 2>/dev/null
}
resign() {
  rm SHA256SUMS*
  sha256sum -- * >../sums && mv ../sums SHA256SUMS
  sign_sums
}
# A copy of the genuine release, changed by CHANGE (run in it, with a folder of its own beside
# it; it may rename it), must make
# verify-release.sh OPTIONS (leading VAR=VALUE words set its environment) exit with STATUS and say
# LINE.
forged() {  # [attributes too]: Zeduzovir.exe with a byte changed and its digest put in its signature
  /usr/bin/python3 - "$source/scripts" "$#" <<'EOF'
import hashlib, sys
sys.path.insert(0, sys.argv[1])
import authenticode
program = bytearray(open("Zeduzovir.exe", "rb").read())
signed = authenticode.Signed(authenticode.embedded_signature(bytes(program)))
program[4096] ^= 1
digest = authenticode.file_digest(bytes(program), "sha256", False)[0]
program = bytes(program).replace(signed.digest, digest)
if sys.argv[2] != "0":
    attribute = hashlib.sha256(signed.content.replace(signed.digest, digest)).digest()
    program = program.replace(hashlib.sha256(signed.content).digest(), attribute)
open("Zeduzovir.exe", "wb").write(program)
EOF
}
hidden_entry() {  # [inside|streamed]: the zip with an entry that its directory does not list, before
  # the directory, or inside the first entry's data, which the directory says grows to hold it
  # (streamed: after its deflate stream and a copy of its data descriptor, the real one grown too)
  python3 - "$@" <<'EOF'
import io, struct, sys, zipfile
name, extra = "Zeduzovir-1.00-win64.zip", io.BytesIO()
with zipfile.ZipFile(extra, "w") as hidden:
    hidden.writestr("Zeduzovir-1.00-win64/version.dll", "")
extra = extra.getvalue()[: zipfile.ZipFile(extra).start_dir]
data, archive = bytearray(open(name, "rb").read()), zipfile.ZipFile(name)
at = record = archive.start_dir
def grow(where):
    struct.pack_into("<I", data, where, struct.unpack_from("<I", data, where)[0] + len(extra))
if sys.argv[1:]:  # the first entry's data ends before its data descriptor
    at = 30 + sum(struct.unpack_from("<HH", data, 26)) + archive.infolist()[0].compress_size
    extra = data[at : at + 16] * (sys.argv[1] == "streamed") + extra
    grow(record + 20)
    if sys.argv[1] == "streamed":
        grow(at + 8)
while data[record : record + 4] == b"PK\1\2":  # local headers after it move on, and the directory
    if struct.unpack_from("<I", data, record + 42)[0] >= at:
        grow(record + 42)
    record += 46 + sum(struct.unpack_from("<3H", data, record + 28))
grow(len(data) - 6)
open(name, "wb").write(data[:at] + extra + data[at:])
EOF
}
rezipped() {  # PYTHON: the zip made anew, PYTHON changing each entry or its bytes (data) on the way
  python3 - "$1" <<'EOF'
import struct, sys, zipfile, zlib
genuine = zipfile.ZipFile("Zeduzovir-1.00-win64.zip")
with zipfile.ZipFile("../changed.zip", "w") as changed:
    for entry in genuine.infolist():
        data = genuine.read(entry)
        exec(sys.argv[1])
        changed.writestr(entry, data)
EOF
  mv ../changed.zip Zeduzovir-1.00-win64.zip
}
huge_installer() {  # [shifted]: an installer of 65,536 streams over one 32 MiB chain of 4 KiB
  # sectors, and the release's signature. Each starts where the chain does or (shifted: 4,000 of
  # them) a sector further than the one before, so that no two start at one sector.
  /usr/bin/python3 - "$#" <<'EOF'
import olefile, struct, sys
shift, free, end, name = int(sys.argv[1]), 0xFFFFFFFF, 0xFFFFFFFE, "Zeduzovir-1.00-x64.msi"
signature = olefile.OleFileIO(name).openstream("\x05DigitalSignature").read()
streams, big, minis = 65536 - 61536 * shift, 32 << 20, -(-len(signature) // 64)
directory = -(-(streams + 2) // 32)
fats = -(-(2 + directory + big // 4096) // 1023)  # each for 1,024 sectors, itself among them
fat = [0xFFFFFFFD] * fats + [end, end]  # then the mini FAT, and the mini stream
def chain(count):
    fat.extend(list(range(len(fat) + 1, len(fat) + count)) + [end])
    return len(fat) - count
def entry(name, kind, sides=(free, free), child=free, start=end, size=0):
    raw = name.encode("utf-16-le") + b"\0\0"
    return struct.pack("<64sHBBIII16sIQQIQ", raw, len(raw), kind, 1, *sides, child, bytes(16), 0, 0, 0,
                       start, size)
sides = {}
def tree(low, high):  # the entries from LOW to HIGH as a balanced tree; its root
    middle = (low + high) // 2
    if low <= high:
        sides[middle] = tree(low, middle - 1), tree(middle + 1, high)
    return middle if low <= high else free
first, stream = chain(directory), chain(big // 4096)
entries = [entry("Root Entry", 5, child=tree(1, streams + 1), start=fats + 1, size=64 * minis),
           entry("\x05DigitalSignature", 2, sides[1], start=0, size=len(signature))]
entries += [entry(f"s{n}", 2, sides[n + 2], start=stream + shift * n, size=big - 4096 * shift * n)
            for n in range(streams)]
entries += [bytes(68) + struct.pack("<3I", free, free, free) + bytes(48)] * (-len(entries) % 32)
words = lambda values, count: struct.pack(f"<{count}I", *values, *[free] * (count - len(values)))
with open(name, "wb") as out:
    out.write(struct.pack("<8s16s5H6s9I", bytes.fromhex("d0cf11e0a1b11ae1"), bytes(16), 0x3E, 4,
                          0xFFFE, 12, 6, bytes(6), directory, fats, first, 0, 4096, fats, 1, end, 0))
    out.write(words(range(fats), 109) + bytes(3584) + words(fat, 1024 * fats))
    out.write(words(list(range(1, minis)) + [end], 1024) + signature.ljust(4096, b"\0") + b"".join(entries))
    out.truncate(out.tell() + big)
EOF
}
crafted_zip() {  # two-faced PROGRAM | inflating: the zip made anew, entry by entry.
  # two-faced: read from its directory's size, it holds the release's entries; read from its end
  # record's offset, a directory in the comment of its last record, it holds PROGRAM, hidden in
  # README.md's stored data. inflating: 400 entries, each 60 MiB of zeros deflated to 60 KiB.
  /usr/bin/python3 - "$@" <<'EOF'
import struct, sys, zipfile, zlib
name = "Zeduzovir-1.00-win64.zip"
top = name[: -len(".zip")]
def record(name, packed, size, crc, offset=None, comment=b""):  # local, or (OFFSET) central
    fields = (0 if size == len(packed) else 8, 0, 0, crc, len(packed), size, len(name), 0)
    if offset is None:
        return struct.pack("<I2H3H3I2H", 0x04034B50, 20, 0, *fields) + name + packed
    return struct.pack("<I3H3H3I5H2I", 0x02014B50, 20, 20, 0, *fields, len(comment), 0, 0, 0,
                       offset) + name + comment
if sys.argv[1] == "inflating":
    packer, zeros = zlib.compressobj(9, zlib.DEFLATED, -15), bytes(60 << 20)
    packed, crc = packer.compress(zeros) + packer.flush(), zlib.crc32(zeros)
    files = [(f"{top}/f{n}".encode(), packed, len(zeros), crc) for n in range(400)]
else:
    names = [f"{top}/{n}".encode() for n in ("README.md", "LICENSE", "Zeduzovir.exe")]
    datas = [zipfile.ZipFile(name).read(n.decode()) for n in names]
    program = open(sys.argv[2], "rb").read()
    datas[0] = record(names[2], program, len(program), zlib.crc32(program)) + datas[0]
    files = [(n, d, len(d), zlib.crc32(d)) for n, d in zip(names, datas)]
entries, offsets = b"", []
for file in files:
    offsets, entries = offsets + [len(entries)], entries + record(*file)
directory, start = b"".join(record(*f, offset=o) for f, o in zip(files, offsets)), len(entries)
if sys.argv[1] != "inflating":
    hidden = b"".join(record(*f, offset=o) for f, o in zip(files, offsets[:2] + [30 + len(names[0])]))
    plain, start = len(directory), start + len(directory)
    directory = b"".join(record(*f, offset=o + plain, comment=hidden if f is files[-1] else b"")
                         for f, o in zip(files, offsets))
open(name, "wb").write(entries + directory + struct.pack(
    "<IHHHHIIH", 0x06054B50, 0, 0, len(files), len(files), len(directory), start, 0))
EOF
}
renamed_stream() {  # the installer with a stream at a leaf of its tree renamed, in the same order,
  # and an empty stream added in a free directory entry, as that leaf's right-hand side
  /usr/bin/python3 - <<'EOF'
import olefile, struct
name = "Zeduzovir-1.00-x64.msi"
data, ole = bytearray(open(name, "rb").read()), olefile.OleFileIO(name)
sectors, at = [], ole.first_dir_sector
while at != 0xFFFFFFFE:
    sectors, at = sectors + [at], ole.fat[at]
place = lambda sid: (sectors[sid // 4] + 1) * 512 + sid % 4 * 128
last = next(e for e in ole.root.kids if e.sid_left == e.sid_right == 0xFFFFFFFF)  # a leaf
free = next(sid for sid in range(len(sectors) * 4) if data[place(sid) + 66] == 0)
renamed = (last.name[:-1] + last.name[-1].swapcase()).encode("utf-16-le")
data[place(last.sid) : place(last.sid) + 64] = struct.pack("<64s", renamed)
struct.pack_into("<I", data, place(last.sid) + 72, free)  # its right-hand side, empty so far
raw = "Extra".encode("utf-16-le") + b"\0\0"
data[place(free) : place(free) + 128] = struct.pack("<64sHBBIII16sIQQIQ", raw, len(raw), 2, 1,
                                                    *[0xFFFFFFFF] * 3, bytes(16), 0, 0, 0, 0xFFFFFFFE, 0)
open(name, "wb").write(data)
EOF
}
attack() {  # NAME STATUS LINE OPTIONS CHANGE
  rm -rf row && mkdir row && cp -r "$second/build/release" row/attacked
  (cd row/attacked && eval "$5") || { echo "FAIL: $1: could not make the attack"; exit 1; }
  # shellcheck disable=SC2206 # OPTIONS are words
  local options=($4) environment=() folders=(row/attacked*)
  while [[ ${options[0]} == *=* ]]; do
    environment+=("${options[0]}") && options=("${options[@]:1}")
  done
  # Bounded, so that reading a whole file it need not read fails the row, not the machine.
  # Within a minute, so that a verify that would run for hours fails the row.
  said=$(ulimit -v 1000000 && timeout 60 env "${environment[@]}" "${verify[@]}" "${folders[0]}" \
    "${options[@]}" 2>&1) &&
    status=0 || status=$?
  [ $status -eq "$2" ] && grep -qF -- "$3" <<<"$said" ||
    { printf 'FAIL: %s: verify-release.sh exit %s, said:\n%s\n' "$1" $status "$said"; exit 1; }
}
signed_by() {  # CERTIFICATE FILE: FILE signed by CERTIFICATE's key in place of the releaser's
  osslsigncode remove-signature -in "$2" -out ../unsigned >/dev/null &&
    osslsigncode sign -certs "$keys/$1.pem" -key "$keys/$1.key" -h sha256 -in ../unsigned \
      -out ../signed >/dev/null && mv ../signed "$2"
}
attack "a changed byte" 1 "FAIL: Zeduzovir.exe: does not match SHA256SUMS" "${trusted[*]}" \
  'printf "\1" | dd of=Zeduzovir.exe bs=1 seek=4096 conv=notrunc status=none'
attack "a changed byte, SHA256SUMS signed again" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: it is a signature of other bytes" "${trusted[*]}" \
  'printf "\1" | dd of=Zeduzovir.exe bs=1 seek=4096 conv=notrunc status=none && resign'
attack "a changed byte, its digest put in the signature" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: its signer did not sign the digest it holds" "${trusted[*]}" \
  'forged && resign'
attack "a changed byte, its digest put in the signature and its signed attributes" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: its signature was not made by its signer's key" "${trusted[*]}" \
  'forged attributes too && resign'
attack "a stranger's signature, the releaser's nested in it" 1 \
  "FAIL: Zeduzovir-1.00-x64.msi: Authenticode: openssl refuses its signer CN=Rogue under ca.pem" \
  "${trusted[*]}" 'msi=Zeduzovir-1.00-x64.msi &&
   osslsigncode extract-signature -in $msi -out ../genuine.sig >/dev/null && signed_by Rogue $msi &&
   { osslsigncode attach-signature -nest -sigin ../genuine.sig -in $msi -out ../nested \
       >/dev/null 2>&1 || [ -s ../nested ]; } && mv ../nested $msi && resign'
attack "a signer under the CA, not for code signing" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: its signer CN=Test server is not for code signing" "${trusted[*]}" \
  'signed_by "Test server" Zeduzovir.exe && resign'
attack "a signer for code signing under a CA for servers only" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: its signer CN=Served chains to ca.pem only through a CA not for code signing" \
  "${trusted[*]}" 'signed_by Served Zeduzovir.exe && resign'
attack "a signer for code signing under a CA for servers only, named in capitals, beside decoys" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: its signer CN=Cased chains to ca.pem only through a CA not for code signing" \
  "${trusted[*]}" 'signed_by Cased Zeduzovir.exe && resign'
attack "a signer for code signing under a CA for servers only, that CA in the CA file" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: its signer CN=Served chains to servers.pem only through a CA not for code signing" \
  "--ca servers.pem --keyring keyring.gpg" 'signed_by Lone Zeduzovir.exe && resign'
attack "the program checked under another CA, its own one of the system's, in a file named to move the cursor" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: openssl refuses its signer CN=Test signer under Rogue\\x1b[2K.pem" \
  "SSL_CERT_DIR=$keys/system-cas --ca $(printf 'Rogue\033[2K.pem') --keyring keyring.gpg" ''
attack "the installer's signature on another installer" 1 \
  "FAIL: Zeduzovir-1.00-x64.msi: Authenticode: it is a signature of other bytes" "${trusted[*]}" \
  'osslsigncode extract-signature -in Zeduzovir-1.00-x64.msi -out ../msi.sig >/dev/null &&
   { osslsigncode attach-signature -sigin ../msi.sig -in "$keys/other.msi" -out ../moved.msi \
       >/dev/null 2>&1 || [ -s ../moved.msi ]; } && mv ../moved.msi Zeduzovir-1.00-x64.msi && resign'
attack "an installer of another program" 1 \
  "FAIL: Zeduzovir-1.00-x64.msi: its Zeduzovir.exe is not the folder's" "${trusted[*]}" \
  'cp "$keys/signed-other.msi" Zeduzovir-1.00-x64.msi && resign'
attack "an installer with an extra file" 1 "FAIL: Zeduzovir-1.00-x64.msi: holds 'Zeduzovir/extra.dll'" \
  "${trusted[*]}" 'cp "$keys/signed-other.msi" Zeduzovir-1.00-x64.msi && resign'
attack "an installer of another program, msiextract missing" 2 \
  "needs msiextract, from the Debian package msitools" "PATH=$keys/no-msitools ${trusted[*]}" \
  'cp "$keys/signed-other.msi" Zeduzovir-1.00-x64.msi && resign'
attack "an installer whose chain of sectors loops, and counts them without end" 1 \
  "FAIL: Zeduzovir-1.00-x64.msi: Authenticode: a header whose counts of sectors do not fit the file" "${trusted[*]}" \
  'python3 -c "import struct, sys; m = bytearray(open(sys.argv[1], \"rb\").read()); n = len(m) // 512 - 1
struct.pack_into(\"<II\", m, 0x44, n, 0xFFFFFFFF)  # the first DIFAT sector, their count
open(sys.argv[1], \"wb\").write(m + bytes(508) + struct.pack(\"<I\", n))" *.msi && resign'
attack "a zip with an extra entry" 1 "FAIL: Zeduzovir-1.00-win64.zip: holds 'Zeduzovir-1.00-win64/version.dll'" \
  "${trusted[*]}" 'python3 -c "import zipfile; zipfile.ZipFile(\"$(echo *.zip)\", \"a\").writestr(\"Zeduzovir-1.00-win64/version.dll\", \"\")" && resign'
attack "a zip entry of release names joined by a space" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: holds 'Zeduzovir-1.00-win64/ Zeduzovir-1.00-win64/Zeduzovir.exe'" \
  "${trusted[*]}" 'python3 -c "import zipfile; zipfile.ZipFile(\"$(echo *.zip)\", \"a\").writestr(\"Zeduzovir-1.00-win64/ Zeduzovir-1.00-win64/Zeduzovir.exe\", \"\")" && resign'
attack "a zip entry that only a reader from its start finds" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: not a zip that can be read: bytes that are no entry's" "${trusted[*]}" \
  'hidden_entry && resign'
attack "a zip entry inside another that only a reader from its start finds" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: not a zip that can be read: a local header that is not its entry's" \
  "${trusted[*]}" 'hidden_entry inside && resign'
attack "a zip entry after the first one's deflate stream, which only a reader of the stream finds" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: not a zip that can be read: 'Zeduzovir-1.00-win64/README.md' whose data is not" \
  "${trusted[*]}" 'hidden_entry streamed && resign'
attack "a zip entry that is a link" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: not a zip that can be read: 'Zeduzovir-1.00-win64/LICENSE' not a plain file" \
  "${trusted[*]}" 'rezipped "entry.external_attr = 0o120777 << 16 if \"LICENSE\" in entry.filename else entry.external_attr" && resign'
attack "a zip entry that unzippers name by its Unicode path field" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: not a zip that can be read: an extra field no release zip holds" \
  "${trusted[*]}" 'rezipped "path, crc = b\"Zeduzovir-1.00-win64/version.dll\", zlib.crc32(entry.filename.encode())
entry.extra += struct.pack(\"<HHBI\", 0x7075, 5 + len(path), 1, crc) + path" && resign'
attack "a zip entry larger than any release file" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: not a zip that can be read: 'Zeduzovir-1.00-win64/README.md' larger than any release file" \
  "${trusted[*]}" 'rezipped "data = bytes(65 << 20) if \"README\" in entry.filename else data" && resign'
attack "a zip whose program is not the folder's" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: its Zeduzovir.exe is not the folder's" "${trusted[*]}" \
  'rezipped "data += b\"\\0\" * entry.filename.endswith(\".exe\")" && resign'
attack "a changed .deb beside no SHA256SUMS.asc" 1 "FAIL: zeduzovir_1.00_amd64.deb: nothing vouches for it" \
  "${trusted[*]}" 'echo >>zeduzovir_1.00_amd64.deb && resign && rm SHA256SUMS.asc'
attack "SHA256SUMS signed by a key outside --keyring" 1 \
  "FAIL: SHA256SUMS.asc: no good signature by a key in keyring.gpg" "${trusted[*]}" \
  'sign_sums stranger@zeduzovir.invalid'
attack "an empty SHA256SUMS" 1 "FAIL: SHA256SUMS: missing or empty" "${trusted[*]}" ': >SHA256SUMS'
attack "a line naming a file elsewhere" 1 "FAIL: SHA256SUMS: not a checksum of a file in this folder" \
  "${trusted[*]}" 'sed -n "s|  Zeduzovir.exe|  ../Zeduzovir.exe|p" SHA256SUMS >>SHA256SUMS && sign_sums'
attack "a file not listed, larger than memory" 1 "FAIL: notes.txt: not listed in SHA256SUMS" "${trusted[*]}" \
  'truncate -s 4G notes.txt'
attack "a folder among the files" 1 "FAIL: notes: not a plain file" "${trusted[*]}" 'mkdir notes'
attack "a file name that moves the terminal's cursor" 1 "FAIL: 'x\\x1b[2K\\rPASS': not listed" \
  "${trusted[*]}" 'touch "$(printf "x\033[2K\rPASS")"'
attack "a listed file missing" 1 "FAIL: zeduzovir_1.00_amd64.deb: listed in SHA256SUMS, but not a file here" \
  "${trusted[*]}" 'rm zeduzovir_1.00_amd64.deb'
attack "a folder whose name ends in a newline" 0 "PASS: every file in 'row/attacked\n' is the release's" \
  "${trusted[*]}" 'mv ../attacked "../attacked"$'"'\\n'"
attack "the releaser's armored key, beside a stranger's" 0 \
  "SHA256SUMS, signed by $fingerprint, a key of keys.asc" \
  "--ca ca.pem --keyring keys.asc" ''
attack "an installer of 65,536 streams over one 32 MiB chain, not as SHA256SUMS lists it" 1 \
  "FAIL: Zeduzovir-1.00-x64.msi: does not match SHA256SUMS" "${trusted[*]}" 'huge_installer'
attack "an installer of 65,536 streams over one 32 MiB chain, SHA256SUMS signed anew" 1 \
  "FAIL: Zeduzovir-1.00-x64.msi: Authenticode: more than 4096 directory entries" "${trusted[*]}" \
  'huge_installer && resign'
attack "an installer of 65,536 streams over one 32 MiB chain, SHA256SUMS written anew and unsigned" 1 \
  "FAIL: Zeduzovir-1.00-x64.msi: nothing vouches for it" "${trusted[*]}" \
  'huge_installer && sha256sum -- Z* z* >SHA256SUMS && rm SHA256SUMS.asc'
attack "an installer of 4,000 streams each a sector further into one chain, SHA256SUMS signed anew" 1 \
  "FAIL: Zeduzovir-1.00-x64.msi: Authenticode: a sector in two chains" "${trusted[*]}" \
  'huge_installer shifted && resign'
attack "a zip whose end record points at a directory in a comment, with a program in README.md" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: not a zip that can be read: an end record that does not say where" \
  "${trusted[*]}" 'crafted_zip two-faced "$keys/unsigned.exe" && resign'
attack "a zip of 400 entries that inflate to 60 MiB each, SHA256SUMS signed anew" 1 \
  "FAIL: Zeduzovir-1.00-win64.zip: holds 'Zeduzovir-1.00-win64/f0', which is no release file" \
  "${trusted[*]}" 'crafted_zip inflating && resign'
attack "the program and the installer again, their names in capitals" 1 \
  "FAIL: Zeduzovir.EXE: not the name of a release file" "${trusted[*]}" \
  'cp "$keys/unsigned.exe" Zeduzovir.EXE && echo >Zeduzovir-1.00-x64.MSI && resign'
attack "a program the release does not hold" 1 "FAIL: setup.exe: not the name of a release file" \
  "${trusted[*]}" 'cp "$keys/unsigned.exe" setup.exe && resign'
attack "names Windows opens, or takes for a device or an 8.3 alias" 1 \
  "FAIL: setup.msixbundle: not the name of a release file" "${trusted[*]}" \
  'touch setup.msixbundle NUL.txt ZEDUZO~1.ZIP && resign'
attack "the program again, named with a Cyrillic e" 1 \
  "FAIL: 'Zeduzovir.ex\\u0435': not the name of a release file" "${trusted[*]}" \
  'cp "$keys/unsigned.exe" Zeduzovir.exе && resign'
attack "a signer from the CA with an unknown critical extension" 1 \
  "FAIL: Zeduzovir.exe: Authenticode: openssl refuses its signer CN=Odd under ca.pem: unhandled critical extension" \
  "${trusted[*]}" 'signed_by Odd Zeduzovir.exe && resign'
# What sqv says, in either case: the key had expired, or is revoked.
attack "SHA256SUMS signed by a key that had expired" 1 "xpired" "--ca ca.pem --keyring late.gpg" \
  'cp "$keys/late.asc" SHA256SUMS.asc'
attack "SHA256SUMS signed by a key since revoked" 1 "evoked" "--ca ca.pem --keyring withdrawn.gpg" ''
attack "SHA256SUMS signed by a key that expired after it signed, as OpenPGP counts it" 0 \
  ", a key of old.gpg, vouches for" "--ca ca.pem --keyring old.gpg" 'cp "$keys/old.asc" SHA256SUMS.asc'
attack "an installer with a stream renamed and an empty one added, which the pass line owns to" 0 \
  "Zeduzovir-1.00-x64.msi (its streams' contents in order, not their names or lengths: its tables may differ" \
  "${trusted[*]}" 'renamed_stream && resign'
attack "a keyring that is none" 2 "--keyring ca.pem is an unusable keyring" "--ca ca.pem --keyring ca.pem" ''
attack "an unreadable --ca" 2 "cannot read --ca" "--ca unreadable.pem --keyring keyring.gpg" ''
attack "an empty keyring" 2 "--keyring empty.gpg is empty" "--ca ca.pem --keyring empty.gpg" ''
attack "a --ca that no one writes to, a FIFO" 2 "--ca fifo is not a plain file" "--ca fifo --keyring keyring.gpg" ''

cp unsigned.exe other.exe
printf '\1' | dd of=other.exe bs=1 seek=4096 conv=notrunc status=none
cp other.exe before.exe
said=$("$source/scripts/attach-signature.sh" other.exe "$first/resources/signatures/"*/Zeduzovir.exe.sig 2>&1)
cmp -s other.exe before.exe && [[ $said == *"stays unsigned"* ]] ||
  { echo "FAIL: a signature of other bytes was attached, or silently left off: $said"; exit 1; }
echo "PASS: $(wc -l <"$first/build/release/SHA256SUMS") release files the same, bit for bit, signed"
