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

# The releaser's checkout: signing refuses it while a tracked file differs from the commit.
sign=(scripts/release.sh --sign-cert "$keys/cert.pem" --sign-key "$keys/key.pem" --gpg-key "$fingerprint")
(cd "$first" && git init -q && git add -A && git -c user.name=R -c user.email=r@r commit -qm R)
echo >>"$first/README.md"
(cd "$first" && "${sign[@]}" >/dev/null 2>&1) && status=0 || status=$?
[ $status -eq 2 ] && [ ! -e "$first/build/release" ] ||
  { echo "FAIL: release.sh signed a changed checkout, or wrote files (exit $status)"; exit 1; }
git -C "$first" checkout -q README.md
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

# Each attack, on a copy of the genuine release, must fail with the line given.
resign() {
  rm SHA256SUMS*
  sha256sum -- * >../sums && mv ../sums SHA256SUMS
  gpg --batch --armor --detach-sign SHA256SUMS 2>/dev/null
}
attack() {  # EXIT_STATUS LINE OPTIONS CHANGE
  rm -rf attacked && cp -r "$second/build/release" attacked
  (cd attacked && eval "$4") || { echo "FAIL: could not make the attack $4"; exit 1; }
  said=$("${verify[@]}" attacked $3 2>&1) && status=0 || status=$?
  [ $status -eq "$1" ] && grep -qF -- "$2" <<<"$said" ||
    { printf 'FAIL: verify-release.sh after %s: exit %s, said:\n%s\n' "$4" $status "$said"; exit 1; }
}
attack 1 "FAIL: Zeduzovir.exe: does not match SHA256SUMS" "${trusted[*]}" \
  'printf "\1" | dd of=Zeduzovir.exe bs=1 seek=4096 conv=notrunc status=none'
attack 1 "FAIL: zeduzovir_1.00_amd64.deb: nothing vouches for it" "${trusted[*]}" \
  'echo >>zeduzovir_1.00_amd64.deb && resign && rm SHA256SUMS.asc'
attack 1 "FAIL: SHA256SUMS: missing or empty" "${trusted[*]}" ': >SHA256SUMS'
attack 1 "FAIL: notes.txt: not listed in SHA256SUMS" "${trusted[*]}" 'touch notes.txt'
attack 1 "FAIL: Zeduzovir-1.00-win64.zip: holds 'Zeduzovir-1.00-win64/version.dll'" "${trusted[*]}" \
  'python3 -c "import zipfile; zipfile.ZipFile(\"$(echo *.zip)\", \"a\").writestr(\"Zeduzovir-1.00-win64/version.dll\", \"\")" && resign'
attack 1 "FAIL: Zeduzovir-1.00-x64.msi: its Zeduzovir.exe is not the folder's" "${trusted[*]}" \
  'osslsigncode remove-signature -in Zeduzovir.exe -out ../attack.exe >/dev/null &&
   bash "$source/resources/windows/make_msi.sh" ../attack.msi "$source/resources/windows/zeduzovir.wxs" \
     ../attack.exe "$source/resources/zeduzovir.ico" 1.0.0 00000000-0000-0000-0000-000000000001 &&
   osslsigncode sign -certs "$keys/cert.pem" -key "$keys/key.pem" -h sha256 -in ../attack.msi \
     -out ../signed.msi >/dev/null && mv ../signed.msi Zeduzovir-1.00-x64.msi && resign'
attack 2 "cannot read --ca" "--ca unreadable.pem --keyring keyring.gpg" ''

osslsigncode remove-signature -in "$second/build/release/Zeduzovir.exe" -out other.exe >/dev/null
printf '\1' | dd of=other.exe bs=1 seek=4096 conv=notrunc status=none
cp other.exe unsigned.exe
said=$("$source/scripts/attach-signature.sh" other.exe "$first/resources/signatures/"*/Zeduzovir.exe.sig 2>&1)
cmp -s other.exe unsigned.exe && [[ $said == *"stays unsigned"* ]] ||
  { echo "FAIL: a signature of other bytes was attached, or silently left off: $said"; exit 1; }
echo "PASS: $(wc -l <"$first/build/release/SHA256SUMS") release files the same, bit for bit, signed"
