#!/usr/bin/env bash
# Builds the release files twice, from copies of the checkout at different paths, with another
# umask, time zone, locale and (as root) user; fails naming each file whose bytes differ. The
# first build signs, with a code-signing certificate and a GnuPG key made for this run; the
# second attaches the signatures the first left, as anyone's rebuild does. verify-release.sh
# must pass on both and fail on a changed byte, and a signature of other bytes must not attach.
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

(cd "$first" && umask 022 && TZ=UTC LC_ALL=C.UTF-8 scripts/release.sh --sign-cert "$keys/cert.pem" \
  --sign-key "$keys/key.pem" --gpg-key "$fingerprint" >/dev/null)
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
"${verify[@]}" "$first/build/release" --ca ca.pem --keyring keyring.gpg
"${verify[@]}" "$second/build/release" --ca ca.pem
cp -r "$second/build/release" changed
printf '\1' | dd of=changed/Zeduzovir.exe bs=1 seek=4096 conv=notrunc 2>/dev/null
said=$("${verify[@]}" changed --ca ca.pem) && said=passed
[[ $said == *"FAIL: Zeduzovir.exe (does not match"* ]] ||
  { echo "FAIL: verify-release.sh on a changed Zeduzovir.exe said: $said"; exit 1; }
osslsigncode remove-signature -in changed/Zeduzovir.exe -out other.exe >/dev/null
cp other.exe unsigned.exe
said=$("$source/scripts/attach-signature.sh" other.exe "$first/resources/signatures/"*/Zeduzovir.exe.sig 2>&1)
cmp -s other.exe unsigned.exe && [[ $said == *"stays unsigned"* ]] ||
  { echo "FAIL: a signature of other bytes was attached, or silently left off: $said"; exit 1; }
echo "PASS: $(wc -l <"$first/build/release/SHA256SUMS") release files the same, bit for bit, signed"
