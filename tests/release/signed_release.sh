#!/usr/bin/env bash
# Builds the signed release once, as the releaser does, with keys made for this run: a test CA
# and a code-signing certificate under it, and a GnuPG key. Before that, signing must refuse a
# checkout that may differ from its commit. The signatures to be committed must be bare DER,
# and verify-release.sh must pass the release. reproducible.sh and verify_attacks.sh then use
# OUT_DIR: keys/ (ca.pem, ca.key, cert.pem, key.pem, gnupg/, keyring.gpg, fingerprint),
# first/build/release/ and first/resources/signatures/.
#   signed_release.sh SOURCE_DIR OUT_DIR    (OUT_DIR new or empty)
set -euo pipefail
source=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
[ -z "$(ls -A "$out")" ] || { echo "FAIL: $out is not empty"; exit 1; }
keys=$out/keys first=$out/first
export GNUPGHOME=$keys/gnupg
trap 'gpgconf --kill all 2>/dev/null || true' EXIT  # this run's agent, of its own GnuPG home
SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
mkdir -p "$first" "$keys" && mkdir -m 700 "$GNUPGHOME"
git -C "$source" ls-files -z | (cd "$source" && xargs -0 cp --parents -t "$first")

cd "$keys"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Test CA" \
  -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -x509 -CA ca.pem -CAkey ca.key -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem \
  -days 2 -subj "/CN=Test signer" -addext extendedKeyUsage=codeSigning 2>/dev/null
gpg --batch --passphrase '' --quick-gen-key "Test signer <test@zeduzovir.invalid>" ed25519 sign 1d \
  2>/dev/null
gpg --export >keyring.gpg
gpg --list-secret-keys --with-colons | awk -F: '/^fpr/ { print $10; exit }' >fingerprint
fingerprint=$(cat fingerprint)

# Signing refuses the checkout while a file may differ from the commit: a changed one, an
# untracked one (a quoted #include finds it), one git is told not to look at.
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

(cd "$first" && umask 022 && TZ=UTC LC_ALL=C.UTF-8 "${sign[@]}" --ca "$keys/ca.pem" >/dev/null)
for signature in "$first"/resources/signatures/*/*.sig; do
  openssl pkcs7 -inform DER -in "$signature" -noout || { echo "FAIL: $signature is not bare DER"; exit 1; }
done
"$source/scripts/verify-release.sh" "$first/build/release" --keyring keyring.gpg --ca ca.pem >/dev/null ||
  { echo "FAIL: verify-release.sh does not pass the signed release"; exit 1; }
echo "PASS: $(ls "$first/build/release" | wc -l) release files signed, in $first/build/release"
