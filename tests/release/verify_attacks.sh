#!/usr/bin/env bash
# Every way we know to fool verify-release.sh, each a row run on a copy of the release that
# signed_release.sh made (no build): verify must end within seconds, with the row's exit status
# and line, and at most one line per file. Then attach-signature.sh must refuse what does not
# verify, leaving nothing behind. SIGNED_DIR may be read-only: its keys are copied first.
#   verify_attacks.sh SOURCE_DIR SIGNED_DIR
# shellcheck disable=SC2016 # each row's change is code, run in the row's folder
set -euo pipefail
umask 022
source=$(cd "$1" && pwd)
signed=$(cd "$2" && pwd)
release=$signed/first/build/release
scratch=$(mktemp -d)
keys=$scratch/keys
export GNUPGHOME=$keys/gnupg
trap 'gpgconf --kill all 2>/dev/null || true; rm -rf "$scratch"' EXIT
cp -r "$signed/keys" "$keys"
chmod -R u+w "$keys" && chmod 700 "$GNUPGHOME"
rm -f "$GNUPGHOME"/S.*  # sockets of the agent that made the keys, if they were kept there
fingerprint=$(cat "$keys/fingerprint")
# Its own copy, which needs nothing beside it, so that every user can run it.
verify=$scratch/verify-release.sh
cp "$source/scripts/verify-release.sh" "$verify"
as=()
if [ "$(id -u)" -eq 0 ]; then  # as nobody, for whom a file can be unreadable
  chmod 755 "$scratch"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
cd "$keys"

# What attackers bring: a self-signed code-signing certificate, one under the CA not for code
# signing, one with an unknown critical extension; a CA file named to move the terminal's
# cursor, and system CAs that trust the test CA; a GnuPG key of their own (which this user's
# GnuPG even trusts); keys expired or revoked; FIFOs and devices; an osslsigncode that cannot
# be held to the primary signature.
ec=(-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2)
openssl req -x509 "${ec[@]}" -keyout Rogue.key -out Rogue.pem -subj /CN=Rogue \
  -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl req -x509 -CA ca.pem -CAkey ca.key "${ec[@]}" -keyout "Test server.key" \
  -out "Test server.pem" -subj "/CN=Test server" -addext extendedKeyUsage=serverAuth 2>/dev/null
openssl req -x509 -CA ca.pem -CAkey ca.key "${ec[@]}" -keyout Odd.key -out Odd.pem -subj /CN=Odd \
  -addext extendedKeyUsage=codeSigning -addext 1.3.6.1.4.1.55555.1=critical,DER:0500 2>/dev/null
cp Rogue.pem "$(printf 'Rogue\033[2K.pem')"
mkdir system-cas && cp ca.pem system-cas/ && openssl rehash system-cas
gpg --batch --passphrase '' --quick-gen-key "Stranger <stranger@zeduzovir.invalid>" ed25519 sign 1d \
  2>/dev/null
gpg --export stranger@zeduzovir.invalid >"$GNUPGHOME/trustedkeys.gpg"
{ gpg --armor --export stranger@zeduzovir.invalid && gpg --armor --export "$fingerprint"; } >keys.asc
# Signatures of SHA256SUMS by a key that had expired when it signed (its expiry set later, dated
# before the signature), by one that expired after it signed, and by ones revoked after they
# signed, as superseded (soft) or compromised (hard). Each key in a keyring of its own.
now=$(date +%s)
for key in late:never:72 old:1d:108 superseded:never:72 compromised:never:72; do
  IFS=: read -r name expiry ago <<<"$key"  # the key made 120 hours ago, signing AGO hours ago
  gpg --batch --passphrase '' --faked-system-time $((now - 432000)) --quick-gen-key \
    "$name <$name@zeduzovir.invalid>" ed25519 sign "$expiry" 2>/dev/null
  gpg --batch --faked-system-time $((now - ago * 3600)) --local-user "$name@zeduzovir.invalid" \
    --armor --detach-sign -o "$name.asc" "$release/SHA256SUMS" 2>/dev/null
done
key_of() { gpg --with-colons --list-keys "$1@zeduzovir.invalid" 2>/dev/null | awk -F: '/^fpr/ { print $10; exit }'; }
gpg --batch --faked-system-time $((now - 9 * 43200)) --quick-set-expire "$(key_of late)" 1d 2>/dev/null
for reason in superseded:2 compromised:1; do  # revoked a day ago
  printf 'y\n%s\n\ny\n' "${reason#*:}" | gpg --command-fd 0 --no-tty --yes --faked-system-time \
    $((now - 86400)) --armor -o "${reason%:*}.rev" --gen-revoke "$(key_of "${reason%:*}")" 2>/dev/null
  [ -s "${reason%:*}.rev" ] || { echo "FAIL: GnuPG made no revocation, ${reason%:*}"; exit 1; }
done
for name in late old superseded compromised; do
  mkdir -m 700 "$name.home"
  gpg --export "$name@zeduzovir.invalid" >"$name.key"
  GNUPGHOME=$keys/$name.home gpg --batch --import "$name.key" "$name".rev 2>/dev/null || true
  GNUPGHOME=$keys/$name.home gpg --export >"$name.gpg"
done
mkdir -m 700 revoking
sed 's/^:-----/-----/' "$GNUPGHOME/openpgp-revocs.d/$fingerprint.rev" >revocation.asc
GNUPGHOME=$keys/revoking gpg --batch --import keyring.gpg revocation.asc 2>/dev/null
GNUPGHOME=$keys/revoking gpg --export >withdrawn.gpg
osslsigncode remove-signature -in "$release/Zeduzovir.exe" -out unsigned.exe >/dev/null
bash "$source/resources/windows/make_msi.sh" other.msi "$source/resources/windows/zeduzovir.wxs" \
  unsigned.exe "$source/resources/README.txt" "$source/LICENSE" "$source/resources/zeduzovir.ico" \
  1.0.0 00000000-0000-0000-0000-000000000001
mkfifo fifo && : >empty.gpg && ln -s /dev/zero zero.pem && head -c 20000 /dev/urandom >big.gpg
mkdir old-osslsigncode mute-osslsigncode
for tool in sqv osslsigncode openssl find grep dd sort tr timeout stat realpath mktemp; do
  mkdir "no-$tool" && find /usr/bin -maxdepth 1 ! -type d ! -name "$tool" -exec ln -s -t "no-$tool" {} +
done
# As osslsigncode 2.5 lists verify's options, and as one that says nothing.
printf '#!/bin/sh\necho "Usage: osslsigncode verify [ -in ] <infile> [ -CAfile <infile> ]"\nexit 255\n' \
  >old-osslsigncode/osslsigncode
printf '#!/bin/sh\nexit 255\n' >mute-osslsigncode/osslsigncode
chmod 755 old-osslsigncode/osslsigncode mute-osslsigncode/osslsigncode

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
signed_by() {  # CERTIFICATE FILE: FILE signed by CERTIFICATE's key in place of the releaser's
  osslsigncode remove-signature -in "$2" -out ../unsigned >/dev/null &&
    osslsigncode sign -certs "$keys/$1.pem" -key "$keys/$1.key" -h sha256 -in ../unsigned \
      -out ../signed >/dev/null && mv ../signed "$2"
}
flip() {  # FILE OFFSET: one byte changed
  printf '\1' | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
nested() {  # FILE: signed by a stranger, the releaser's signature nested in the stranger's, which
  # osslsigncode, asked about every signature, passes
  osslsigncode extract-signature -in "$1" -out ../genuine.sig >/dev/null && signed_by Rogue "$1" &&
    { osslsigncode attach-signature -nest -sigin ../genuine.sig -in "$1" -out ../nested \
        >/dev/null 2>&1 || [ -s ../nested ]; } && mv ../nested "$1" &&
    osslsigncode verify -CAfile "$keys/ca.pem" -in "$1" >/dev/null 2>&1
}
forged() {  # [attributes too]: Zeduzovir.exe with a byte changed and its new digest put in its
  # signature, as osslsigncode computes it (and the digest of that signature's content, which
  # its signer signed)
  osslsigncode verify -in Zeduzovir.exe >../before 2>&1 || true
  flip Zeduzovir.exe 4096
  osslsigncode extract-signature -in Zeduzovir.exe -out ../forged.sig >/dev/null
  osslsigncode verify -in Zeduzovir.exe >../said 2>&1 || true
  python3 - "$#" <<'EOF'
import hashlib, re, sys
said, signature = open("../said").read(), open("../forged.sig", "rb").read()
held, computed = (bytes.fromhex(re.search(f"{w} message digest *: *([0-9A-F]+)", said)[1])
                  for w in ("Current", "Calculated"))
program = open("Zeduzovir.exe", "rb").read().replace(held, computed)
if sys.argv[1] != "0":
    # The content (SpcIndirectDataContent, its tag and length left out) follows its type's OID
    # inside a [0] wrapper; each header has a one- or multi-byte length.
    at = signature.index(bytes.fromhex("060a2b060104018237020104")) + 12
    def header(at):
        first = signature[at + 1]
        return (2, first) if first < 128 else (
            2 + (first & 127), int.from_bytes(signature[at + 2 : at + 2 + (first & 127)], "big"))
    at += header(at)[0]
    skip, size = header(at)
    content = signature[at + skip : at + skip + size]
    assert hashlib.sha256(content).hexdigest().upper() in open("../before").read(), "not its content"
    program = program.replace(hashlib.sha256(content).digest(),
                              hashlib.sha256(content.replace(held, computed)).digest())
open("Zeduzovir.exe", "wb").write(program)
EOF
}
looped_installer() {  # the installer's header counting sectors without end, its chain looping
  python3 - <<'EOF'
import struct
name = "Zeduzovir-1.00-x64.msi"
m = bytearray(open(name, "rb").read())
n = len(m) // 512 - 1
struct.pack_into("<II", m, 0x44, n, 0xFFFFFFFF)  # the first DIFAT sector, their count
open(name, "wb").write(m + bytes(508) + struct.pack("<I", n))
EOF
}

# A copy of the genuine release, changed by CHANGE (run in it, with a folder of its own beside
# it; it may rename it), must make verify-release.sh OPTIONS (leading VAR=VALUE words set its
# environment) exit with STATUS within a minute, which only a fault comes near, and say LINE,
# each line of its output naming one file, none twice.
attack() {  # NAME STATUS LINE OPTIONS CHANGE
  rm -rf row && mkdir row && cp -r "$release" row/attacked
  (cd row/attacked && eval "$5") || { echo "FAIL: $1: could not make the attack"; exit 1; }
  # shellcheck disable=SC2206 # OPTIONS are words
  local options=($4) environment=() folders=(row/attacked*) said status names
  while [[ ${options[0]} == *=* ]]; do
    environment+=("${options[0]}") && options=("${options[@]:1}")
  done
  said=$(timeout 60 "${as[@]}" env "${environment[@]}" "$verify" "${folders[0]}" \
    "${options[@]}" 2>&1) && status=0 || status=$?
  names=$(sed -nE 's/^(PASS|FAIL): ([^ ]*): .*/\2/p' <<<"$said")
  if [ $status -eq 124 ]; then
    echo "FAIL: $1: verify-release.sh took over a minute"; exit 1
  elif [ $status -ne "$2" ] || ! grep -qF -- "$3" <<<"$said"; then
    printf 'FAIL: %s: verify-release.sh exit %s, said:\n%s\n' "$1" $status "$said"; exit 1
  elif [ $status -ne 2 ] && { [ "$(wc -l <<<"$names")" -ne "$(wc -l <<<"$said")" ] ||
    [ -n "$(sort <<<"$names" | uniq -d)" ]; }; then
    printf 'FAIL: %s: a line for no file, or two for one:\n%s\n' "$1" "$said"; exit 1
  elif [ $status -eq 2 ] && [ "$(wc -l <<<"$said")" -ne 1 ]; then
    printf 'FAIL: %s: more than one line:\n%s\n' "$1" "$said"; exit 1
  fi
}
trusted="--ca ca.pem --keyring keyring.gpg"
under_ca="osslsigncode did not verify its primary Authenticode signature under ca.pem"
msi=Zeduzovir-1.00-x64.msi deb=zeduzovir_1.00_amd64.deb
attack "the genuine release" 0 \
  "PASS: Zeduzovir.exe: matches SHA256SUMS; its primary Authenticode signature chains to ca.pem" "$trusted" ''
# With no key.
attack "SHA256SUMS padded with 4,000 .debs of as many versions" 1 "FAIL: SHA256SUMS: larger than 4 KiB" \
  "$trusted" 'seq 4000 | sed "s/.*/$(printf %064d 0)  zeduzovir_1.&_amd64.deb/" >>SHA256SUMS'
attack "SHA256SUMS padded with 64 MiB of empty lines" 1 "FAIL: SHA256SUMS: larger than 4 KiB" \
  "$trusted" 'head -c 64M /dev/zero | tr "\0" "\n" >>SHA256SUMS'
attack "SHA256SUMS.asc padded with 4 MiB of near-copies of its signature" 1 \
  "FAIL: SHA256SUMS.asc: larger than 4 KiB" "$trusted" \
  '{ yes -- "$(sed s/A/B/ SHA256SUMS.asc)" || true; } | head -c 4M >>SHA256SUMS.asc'
attack "a changed byte" 1 "FAIL: Zeduzovir.exe: does not match SHA256SUMS" "$trusted" 'flip Zeduzovir.exe 4096'
attack "a changed byte in the program, which blames not the installer" 1 \
  "PASS: $msi: matches SHA256SUMS; its primary Authenticode signature chains to ca.pem" "$trusted" \
  'flip Zeduzovir.exe 4096'
attack "a changed byte in the program, which blames not the .deb" 1 "PASS: $deb: matches SHA256SUMS" \
  "$trusted" 'flip Zeduzovir.exe 4096'
attack "a .deb of 300 MiB" 1 "FAIL: $deb: larger than 32768 KiB" "$trusted" "truncate -s 300M $deb"
attack "a .deb of 300 MiB, beside which SHA256SUMS.asc still vouches" 1 \
  "PASS: SHA256SUMS: SHA256SUMS.asc is a good signature of it by $fingerprint" "$trusted" "truncate -s 300M $deb"
attack "a .deb of 300 MiB, which blames not the program" 1 "PASS: Zeduzovir.exe: matches SHA256SUMS" \
  "$trusted" "truncate -s 300M $deb"
attack "an unreadable program" 1 "FAIL: Zeduzovir.exe: cannot be read" "$trusted" 'chmod 000 Zeduzovir.exe'
attack "the program as a link to itself" 1 "FAIL: Zeduzovir.exe: not a plain file but a symbolic link" \
  "$trusted" 'mv Zeduzovir.exe ../program && ln -s ../program Zeduzovir.exe'
attack "a FIFO for the installer" 1 "FAIL: $msi: not a plain file" "$trusted" "rm $msi && mkfifo $msi"
attack "a device for the .deb" 1 "FAIL: $deb: not a plain file" "$trusted" \
  "rm $deb && { cp -a /dev/zero $deb 2>/dev/null || ln -s /dev/zero $deb; }"
attack "a FIFO as --keyring" 2 "verify-release.sh: --keyring fifo: not a plain file" "--ca ca.pem --keyring fifo" ''
attack "a device as --keyring" 2 "verify-release.sh: --keyring /dev/zero: not a plain file" \
  "--ca ca.pem --keyring /dev/zero" ''
attack "a link to a device as --ca" 2 "verify-release.sh: --ca zero.pem: not a plain file" \
  "--ca zero.pem --keyring keyring.gpg" ''
attack "a keyring larger than 16 KiB" 2 "verify-release.sh: --keyring big.gpg: larger than 16 KiB" \
  "--ca ca.pem --keyring big.gpg" ''
attack "a changed .deb beside no SHA256SUMS.asc" 1 \
  "FAIL: SHA256SUMS.asc: missing, so nothing vouches for the release files" "$trusted" \
  "echo >>$deb && resign && rm SHA256SUMS.asc"
attack "SHA256SUMS signed by a key outside --keyring" 1 \
  "FAIL: SHA256SUMS.asc: sqv does not take it for a signature of SHA256SUMS by a key of keyring.gpg" "$trusted" \
  'sign_sums stranger@zeduzovir.invalid'
attack "an empty SHA256SUMS" 1 "FAIL: SHA256SUMS: empty" "$trusted" ': >SHA256SUMS'
attack "a folder named as the installer" 1 "FAIL: $msi: not a plain file but a directory" "$trusted" \
  "rm $msi && mkdir $msi"
attack "a file name that moves the terminal's cursor" 1 "FAIL: \$'x\\E[2K\\rPASS': not the name of a release file" \
  "$trusted" 'touch "$(printf "x\033[2K\rPASS")"'
attack "the program alone, as someone who fetched only it has" 0 \
  "PASS: Zeduzovir.exe: matches SHA256SUMS; its primary Authenticode signature chains to ca.pem" \
  "$trusted" "rm $deb $msi"
attack "a folder whose name ends in a newline" 0 "PASS: SHA256SUMS: SHA256SUMS.asc is a good signature" \
  "$trusted" 'mv ../attacked "../attacked"$'"'\\n'"
attack "the releaser's armored key, beside a stranger's" 0 \
  "PASS: SHA256SUMS: SHA256SUMS.asc is a good signature of it by $fingerprint, a key of keys.asc" \
  "--ca ca.pem --keyring keys.asc" ''
attack "the program and the installer again, their names in capitals" 1 \
  "FAIL: Zeduzovir.EXE: not the name of a release file" "$trusted" \
  'cp "$keys/unsigned.exe" Zeduzovir.EXE && echo >Zeduzovir-1.00-x64.MSI && resign'
attack "names Windows opens, or takes for a device or an 8.3 alias; a FIFO, a folder, a file larger than memory" 1 \
  "FAIL: setup.msixbundle: not the name of a release file" "$trusted" \
  'cp "$keys/unsigned.exe" setup.exe && touch setup.msixbundle NUL.txt ZEDUZO~1.ZIP && mkfifo fifo &&
   mkdir notes && truncate -s 4G notes.txt'
attack "the program again, named with a Cyrillic e" 1 \
  "FAIL: \$'Zeduzovir.ex\\320\\265': not the name of a release file" "$trusted" \
  'cp "$keys/unsigned.exe" Zeduzovir.exе && resign'
attack "a .deb of another version beside the release" 1 \
  "FAIL: zeduzovir_1.01_amd64.deb: not listed in SHA256SUMS of 1.00" "$trusted" "cp $deb zeduzovir_1.01_amd64.deb"
attack "a .deb of another version, which blames not the listed one" 1 "PASS: $deb: matches SHA256SUMS" \
  "$trusted" "cp $deb zeduzovir_1.01_amd64.deb"
attack "the .deb of another version in place of the release's, which blames not SHA256SUMS" 1 \
  "PASS: SHA256SUMS: SHA256SUMS.asc is a good signature" "$trusted" "rm $msi && mv $deb zeduzovir_1.01_amd64.deb"
attack "4,000 .debs of as many versions" 1 "holds more than 64 entries, which no release does" \
  "$trusted" 'seq 4000 | sed "s/.*/zeduzovir_1.&_amd64.deb/" | xargs touch'
attack "a keyring that is none" 1 "FAIL: SHA256SUMS.asc: sqv does not take it for a signature of SHA256SUMS by a key of ca.pem" \
  "--ca ca.pem --keyring ca.pem" ''
attack "an unreadable --ca" 2 "verify-release.sh: --ca unreadable.pem: cannot be read" \
  "--ca unreadable.pem --keyring keyring.gpg" ''
attack "an empty keyring" 2 "verify-release.sh: --keyring empty.gpg: empty" "--ca ca.pem --keyring empty.gpg" ''
attack "a --ca that holds no certificate" 2 "verify-release.sh: --ca keyring.gpg: holds no certificate" \
  "--ca keyring.gpg --keyring keyring.gpg" ''
for tool in sqv:sqv osslsigncode:osslsigncode openssl:openssl find:findutils grep:grep dd:coreutils \
  sort:coreutils tr:coreutils timeout:coreutils stat:coreutils realpath:coreutils mktemp:coreutils; do
  attack "${tool%:*} missing" 2 "verify-release.sh: needs ${tool%:*}, from the Debian package ${tool#*:}" \
    "PATH=$keys/no-${tool%:*} $trusted" ''
done
attack "an osslsigncode whose verify takes no -index" 2 "verify-release.sh: needs osslsigncode 2.8 or later" \
  "PATH=$keys/old-osslsigncode:$PATH $trusted" ''
attack "an osslsigncode that says nothing of its options" 2 "verify-release.sh: needs osslsigncode 2.8 or later" \
  "PATH=$keys/mute-osslsigncode:$PATH $trusted" ''
# With the releaser's OpenPGP key: SHA256SUMS signed anew.
attack "a line naming a file elsewhere" 1 "FAIL: SHA256SUMS: line 4 is not a lowercase SHA-256, two spaces and a release file's name" \
  "$trusted" 'sed -n "s|  Zeduzovir.exe|  ../Zeduzovir.exe|p" SHA256SUMS >>SHA256SUMS && sign_sums'
attack "lines naming .debs of other versions" 1 "FAIL: SHA256SUMS: names files of two versions, 1.00 and 1.1" "$trusted" \
  'seq 3 | sed "s/.*/$(printf %064d 0)  zeduzovir_1.&_amd64.deb/" >>SHA256SUMS && sign_sums'
attack "a release file SHA256SUMS does not list" 1 "FAIL: $msi: not listed in SHA256SUMS" "$trusted" \
  'grep -v x64.msi SHA256SUMS >../sums && mv ../sums SHA256SUMS && sign_sums'
attack "a line naming the program twice" 1 "FAIL: SHA256SUMS: names Zeduzovir.exe twice" "$trusted" \
  'grep "  Zeduzovir.exe" SHA256SUMS >../line && cat ../line >>SHA256SUMS && sign_sums'
attack "a line naming the program twice, then one of junk: one line for SHA256SUMS" 1 \
  "FAIL: SHA256SUMS: line 5 is not" "$trusted" \
  'grep "  Zeduzovir.exe" SHA256SUMS >../line && { cat ../line && echo x; } >>SHA256SUMS && sign_sums'
attack "a checksum in capitals, which sha256sum would take" 1 "FAIL: SHA256SUMS: line 1 is not a lowercase" \
  "$trusted" 'sed -i "1s/^[0-9a-f]*/\U&/" SHA256SUMS && sign_sums'
attack "a changed byte, SHA256SUMS signed again" 1 "FAIL: Zeduzovir.exe: $under_ca" "$trusted" \
  'flip Zeduzovir.exe 4096 && resign'
attack "a changed byte in the installer's cabinet, SHA256SUMS signed again" 1 "FAIL: $msi: $under_ca" \
  "$trusted" 'flip $msi $(($(grep -obUa -m1 MSCF $msi | cut -d: -f1) + 200)) && resign'
attack "a changed byte, its digest put in the signature" 1 "FAIL: Zeduzovir.exe: $under_ca" "$trusted" \
  'forged && resign'
attack "a changed byte, its digest put in the signature and its signed attributes" 1 \
  "FAIL: Zeduzovir.exe: $under_ca" "$trusted" 'forged attributes too && resign'
attack "a stranger's signature of the installer, the releaser's nested in it" 1 "FAIL: $msi: $under_ca" \
  "$trusted" 'nested $msi && resign'
attack "a stranger's signature of the program, the releaser's nested in it" 1 "FAIL: Zeduzovir.exe: $under_ca" \
  "$trusted" 'nested Zeduzovir.exe && resign'
attack "a signer under the CA, not for code signing" 1 "FAIL: Zeduzovir.exe: $under_ca" "$trusted" \
  'signed_by "Test server" Zeduzovir.exe && resign'
attack "a signer from the CA with an unknown critical extension" 1 "FAIL: Zeduzovir.exe: $under_ca" \
  "$trusted" 'signed_by Odd Zeduzovir.exe && resign'
attack "the program checked under another CA, its own one of the system's, in a file named to move the cursor" 1 \
  "FAIL: Zeduzovir.exe: osslsigncode did not verify its primary Authenticode signature under \$'Rogue\\E[2K.pem'" \
  "SSL_CERT_DIR=$keys/system-cas --ca $(printf 'Rogue\033[2K.pem') --keyring keyring.gpg" ''
attack "the installer's signature on another installer" 1 "FAIL: $msi: $under_ca" "$trusted" \
  'osslsigncode extract-signature -in $msi -out ../msi.sig >/dev/null &&
   { osslsigncode attach-signature -sigin ../msi.sig -in "$keys/other.msi" -out ../moved.msi \
       >/dev/null 2>&1 || [ -s ../moved.msi ]; } && mv ../moved.msi $msi && resign'
attack "an installer whose chain of sectors loops, and counts them without end" 1 "FAIL: $msi: $under_ca" \
  "$trusted" 'looped_installer && resign'
# sqv's judgement of keys in time, as OpenPGP has it.
attack "SHA256SUMS signed by a key that had expired" 1 \
  "FAIL: SHA256SUMS.asc: sqv does not take it for a signature of SHA256SUMS by a key of late.gpg" \
  "--ca ca.pem --keyring late.gpg" 'cp "$keys/late.asc" SHA256SUMS.asc'
attack "SHA256SUMS signed by a key that expired after it signed" 0 "a key of old.gpg, as sqv judges" \
  "--ca ca.pem --keyring old.gpg" 'cp "$keys/old.asc" SHA256SUMS.asc'
attack "SHA256SUMS signed by a key since revoked" 1 \
  "FAIL: SHA256SUMS.asc: sqv does not take it for a signature of SHA256SUMS by a key of withdrawn.gpg" \
  "--ca ca.pem --keyring withdrawn.gpg" ''
attack "SHA256SUMS signed by a key revoked after it signed, as compromised" 1 \
  "FAIL: SHA256SUMS.asc: sqv does not take it for a signature of SHA256SUMS by a key of compromised.gpg" \
  "--ca ca.pem --keyring compromised.gpg" 'cp "$keys/compromised.asc" SHA256SUMS.asc'
attack "SHA256SUMS signed by a key revoked after it signed, as superseded" 0 \
  "a key of superseded.gpg, as sqv judges" "--ca ca.pem --keyring superseded.gpg" \
  'cp "$keys/superseded.asc" SHA256SUMS.asc'

# attach-signature.sh attaches only what verifies, and otherwise leaves the file as it was and
# nothing behind: a signature of other bytes, and a stranger's of these very bytes.
cp unsigned.exe other.exe && flip other.exe 4096
osslsigncode sign -certs Rogue.pem -key Rogue.key -h sha256 -in unsigned.exe -out rogue.exe >/dev/null
osslsigncode extract-signature -in rogue.exe -out rogue.sig >/dev/null
genuine=$(echo "$signed"/first/resources/signatures/*/Zeduzovir.exe.sig)
for row in "a signature of other bytes:other.exe:$genuine" \
  "a stranger's signature of these very bytes:unsigned.exe:$keys/rogue.sig"; do
  IFS=: read -r name file signature <<<"$row"
  rm -rf attach && mkdir -p attach/tmp && cp "$file" attach/target.exe && cp "$file" before.exe
  said=$(cd attach && TMPDIR=$keys/attach/tmp "$source/scripts/attach-signature.sh" target.exe \
    "$signature" "$keys/ca.pem" 2>&1) && status=0 || status=$?
  [ $status -eq 1 ] && [[ $said == *"it stays unsigned"* ]] && cmp -s attach/target.exe before.exe &&
    [ "$(find attach -mindepth 1 | sort | tr '\n' ' ')" = "attach/target.exe attach/tmp " ] ||
    { echo "FAIL: attach-signature.sh, $name: attached, or left files (exit $status): $said"; exit 1; }
done
# A FIFO or a link to attach to is refused at once, the signature's name escaped, nothing written;
# through the link, the genuine signature would attach.
cp "$genuine" "$(printf 'x\033[2K.sig')" && cp unsigned.exe outside.exe && cp unsigned.exe before.exe
for make in "mkfifo attach/target.exe" "ln -s ../outside.exe attach/target.exe"; do
  rm -rf attach && mkdir attach && $make
  said=$(timeout 10 "$source/scripts/attach-signature.sh" attach/target.exe "$(printf 'x\033[2K.sig')" 2>&1) &&
    status=0 || status=$?
  [ $status -eq 1 ] && cmp -s outside.exe before.exe &&
    [[ $said == *"attach/target.exe or \$'x\\E[2K.sig' is no plain file: it stays unsigned" ]] ||
    { echo "FAIL: attach-signature.sh, $make: exit $status, said: $said"; exit 1; }
done
echo "PASS: verify-release.sh fails every attack, in bounded time; attach-signature.sh attaches only what verifies"
