#!/usr/bin/env bash
# Builds the release files from this checkout, tests off, into build/release/ beside their
# SHA256SUMS: the .deb, Zeduzovir.exe and its installer. The same commit built on
# Debian 12 with the same packages gives the same bytes: every time in the files is the last
# commit's, and no path, clock, time zone, locale, umask or user of the machine gets in.
#
# The releaser signs (Authenticode, SHA-256) the program, which then goes into the installer,
# and the installer; the detached signatures land in resources/signatures/VERSION/ to be
# committed. Anyone else's build attaches those that verify under CA (the system's authorities
# when none is given; scripts/attach-signature.sh), and so gets the signed files bit for bit.
#   release.sh [--sign-cert CERT.pem --sign-key KEY.pem | --sign-pkcs12 FILE.p12]
#              [--timestamp URL] [--gpg-key KEYID] [--ca CA.pem]
# FILE.p12's password comes from ZEDUZOVIR_SIGN_PASSWORD, never from the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
die() {
  echo "release.sh: $*" >&2
  exit 2
}

cert="" key="" pkcs12="" timestamp="" gpg_key="" ca=()
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || die "$1 needs a value"
  case $1 in
    --sign-cert) cert=$2 ;;
    --sign-key) key=$2 ;;
    --sign-pkcs12) pkcs12=$2 ;;
    --timestamp) timestamp=$2 ;;
    --gpg-key) gpg_key=$2 ;;
    --ca) ca=("$2") ;;
    *) die "unknown option $1" ;;
  esac
  shift 2
done

scripts/install-deps.sh run release
# Signatures are committed beside the commit they were made from, so they must fit it exactly.
if ! git rev-parse --git-dir >/dev/null 2>&1; then
  [ -z "$cert$key$pkcs12$gpg_key" ] || die "signing needs a git checkout, to sign exactly its last commit"
elif [ -n "$(git status --porcelain --untracked-files=all)" ] ||
  # Files git is told not to look at (assume-unchanged, skip-worktree) may differ unseen.
  [ -n "$(git ls-files -v | grep -E '^([a-z]|S) ' || true)" ]; then
  [ -z "$cert$key$pkcs12$gpg_key" ] ||
    die "signing needs a checkout with no uncommitted changes, no untracked files and no file git overlooks"
  echo "release.sh: uncommitted changes or untracked files go into these files" >&2
fi

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC LC_ALL=C.UTF-8
unset LANGUAGE
umask 022

version=$(sed -n 's/.*define ZEDUZOVIR_VERSION_TEXT "\(.*\)".*/\1/p' resources/version.h)
signatures=resources/signatures/$version
exe_name=Zeduzovir.exe
msi_name=Zeduzovir-$version-x64.msi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Everything about the keys is checked before anything is built, so that a bad key leaves
# nothing half-written.
signer=()
if [ -n "$cert$key$pkcs12" ]; then
  if [ -n "$pkcs12" ]; then
    [ -z "$cert$key" ] || die "--sign-pkcs12 takes the place of --sign-cert and --sign-key"
    [ -r "$pkcs12" ] || die "cannot read $pkcs12"
    [ -n "${ZEDUZOVIR_SIGN_PASSWORD+set}" ] || die "ZEDUZOVIR_SIGN_PASSWORD holds no password for $pkcs12"
    openssl pkcs12 -in "$pkcs12" -passin env:ZEDUZOVIR_SIGN_PASSWORD -nokeys -clcerts \
      -out "$scratch/cert.pem" 2>/dev/null || die "cannot open $pkcs12: wrong password?"
    cert=$scratch/cert.pem
    # The key goes through a pipe only, never to disk; so does the password, to osslsigncode.
    public_key=$(openssl pkcs12 -in "$pkcs12" -passin env:ZEDUZOVIR_SIGN_PASSWORD -nocerts -nodes \
      2>/dev/null | openssl pkey -pubout 2>/dev/null) || die "$pkcs12 holds no key"
    signer=(-pkcs12 "$pkcs12" -readpass /dev/stdin)
  else
    [ -r "$cert" ] && [ -r "$key" ] || die "--sign-cert and --sign-key need readable files"
    public_key=$(openssl pkey -in "$key" -pubout 2>/dev/null) || die "$key holds no key"
    signer=(-certs "$cert" -key "$key")
  fi
  openssl x509 -in "$cert" -noout -ext extendedKeyUsage 2>/dev/null | grep -q "Code Signing" ||
    die "the certificate in ${pkcs12:-$cert} is not for code signing"
  [ "$(openssl x509 -in "$cert" -noout -pubkey 2>/dev/null)" = "$public_key" ] ||
    die "the key in ${pkcs12:-$key} is not the certificate's"
  [ -z "$timestamp" ] || signer+=(-ts "$timestamp")
  mkdir -p "$scratch/signatures"
elif [ -d "$signatures" ]; then
  for name in "$exe_name" "$msi_name"; do
    [ -f "$signatures/$name.sig" ] || die "$signatures has no $name.sig"
  done
else
  echo "release.sh: no signatures for $version in resources/signatures: the files stay unsigned" >&2
fi
if [ -n "$gpg_key" ]; then
  gpg --list-secret-keys "$gpg_key" >/dev/null 2>&1 || die "GnuPG has no secret key $gpg_key"
fi

# Signs FILE in place with the releaser's key, keeping the detached signature, or attaches the
# committed one where it verifies.
authenticode() {
  local file=$1 name
  name=$(basename "$1")
  if [ ${#signer[@]} -gt 0 ]; then
    printf '%s' "${ZEDUZOVIR_SIGN_PASSWORD-}" |
      osslsigncode sign "${signer[@]}" -h sha256 -n Zeduzovir -in "$file" -out "$scratch/signed" \
        >/dev/null || die "osslsigncode could not sign $name"
    osslsigncode extract-signature -in "$scratch/signed" -out "$scratch/signatures/$name.sig" \
      >/dev/null
    # Anyone's rebuild attaches it so: that must give these very bytes.
    scripts/attach-signature.sh "$file" "$scratch/signatures/$name.sig" "${ca[@]}" &&
      cmp -s "$file" "$scratch/signed" ||
      die "the signature of $name does not verify under ${ca[*]:-the authorities of the system}, or attach back"
    rm "$scratch/signed"
  elif [ -d "$signatures" ]; then
    scripts/attach-signature.sh "$file" "$signatures/$name.sig" "${ca[@]}" || [ $? -eq 1 ] || exit 2
  fi
}

out=build/release
partial=$out.partial
rm -rf "$partial"
mkdir -p "$partial"
for preset in release-linux release-windows; do
  # From scratch: a build tree made earlier holds times that are not this commit's.
  rm -rf "build/$preset"
  cmake --preset "$preset" >/dev/null
  if [ "$preset" = release-windows ]; then
    # The program is signed first, so that the installer is made around it.
    cmake --build --preset "$preset" --target zeduzovir_win32_app
    authenticode "build/$preset/src/app/win32/$exe_name"
    cmake --build --preset "$preset"
    authenticode "build/$preset/$msi_name"
  else
    cmake --build --preset "$preset"
    # fakeroot: the package records root as every file's owner, whoever builds it.
    (cd "build/$preset" && fakeroot cpack -B "$PWD/packages" >/dev/null)
  fi
done
cp build/release-linux/packages/*.deb "build/release-windows/$msi_name" \
   "build/release-windows/src/app/win32/$exe_name" "$partial"
(cd "$partial" && sha256sum -- * >SHA256SUMS && cat SHA256SUMS)
if [ -n "$gpg_key" ]; then
  gpg --batch --yes --local-user "$gpg_key" --armor --detach-sign \
    --output "$partial/SHA256SUMS.asc" "$partial/SHA256SUMS" || die "GnuPG could not sign SHA256SUMS"
fi
if [ ${#signer[@]} -gt 0 ]; then
  mkdir -p "$signatures"
  cp "$scratch"/signatures/*.sig "$signatures/"
  echo "release.sh: commit $signatures, so that anyone's build of $version is signed too" >&2
fi
rm -rf "$out"
mv "$partial" "$out"
