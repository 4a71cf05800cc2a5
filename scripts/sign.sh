#!/usr/bin/env bash
# Authenticode signature of px-installer.exe (SHA-256, osslsigncode):
#
#   scripts/sign.sh EXE
#     Signs EXE in place with the code-signing certificate in PX_SIGN_PFX (a .pfx file whose
#     password is PX_SIGN_PASSWORD), time-stamped by the RFC 3161 server PX_SIGN_TIMESTAMP_URL
#     when that is set. Without PX_SIGN_PFX, EXE stays unsigned and one line says so. The
#     package step runs this on the program it zips (cmake/sign-package.cmake).
#   scripts/sign.sh test-certificate DIR PASSWORD
#     Makes a throwaway CA (DIR/ca.pem) and a code-signing certificate it issued, with its key
#     (DIR/signer.pfx, protected by PASSWORD), valid for two days: what CI signs with.
#   scripts/sign.sh verify EXE CA
#     Checks EXE's signature against the CA certificate CA (PEM), and that a copy of EXE with
#     one byte changed fails the same check.
set -euo pipefail

sign() {
  local exe=$1 name
  name=$(basename "$exe")
  if [ -z "${PX_SIGN_PFX:-}" ]; then
    echo "$name: NOT SIGNED (PX_SIGN_PFX is not set): users will be warned of an unknown publisher"
    return 0
  fi
  [ -f "$PX_SIGN_PFX" ] || { echo "sign.sh: no certificate file $PX_SIGN_PFX" >&2; return 1; }
  local args=(sign -pkcs12 "$PX_SIGN_PFX" -h sha256 -n px-installer) work
  # The password goes through a file only this user can read, not the command line.
  work=$(mktemp -d)
  if [ -n "${PX_SIGN_PASSWORD:-}" ]; then
    printf '%s' "$PX_SIGN_PASSWORD" >"$work/password"
    args+=(-readpass "$work/password")
  fi
  local stamp=""
  if [ -n "${PX_SIGN_TIMESTAMP_URL:-}" ]; then
    args+=(-ts "$PX_SIGN_TIMESTAMP_URL")
    stamp=", time-stamped by $PX_SIGN_TIMESTAMP_URL"
  fi
  # osslsigncode writes a new file; the signed one replaces EXE only when signing succeeded.
  local signed="$exe.signing"
  rm -f "$signed"
  if ! osslsigncode "${args[@]}" -in "$exe" -out "$signed" >/dev/null; then
    rm -rf "$signed" "$work"
    echo "sign.sh: signing $exe with $PX_SIGN_PFX failed" >&2
    return 1
  fi
  rm -rf "$work"
  chmod --reference="$exe" "$signed"
  mv -f "$signed" "$exe"
  echo "$name: signed (Authenticode, SHA-256$stamp), $(stat -c %s "$exe") bytes"
}

test_certificate() {
  local dir=$1 password=$2
  mkdir -p "$dir"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=px-installer throwaway test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -keyout "$dir/ca.key" -out "$dir/ca.pem" 2>/dev/null
  openssl req -newkey rsa:2048 -nodes -subj "/CN=px-installer throwaway test signer" \
    -keyout "$dir/signer.key" -out "$dir/signer.csr" 2>/dev/null
  printf '%s\n' "basicConstraints=critical,CA:FALSE" "keyUsage=critical,digitalSignature" \
    "extendedKeyUsage=codeSigning" >"$dir/signer.ext"
  openssl x509 -req -days 2 -in "$dir/signer.csr" -CA "$dir/ca.pem" -CAkey "$dir/ca.key" \
    -CAcreateserial -extfile "$dir/signer.ext" -out "$dir/signer.pem" 2>/dev/null
  openssl pkcs12 -export -inkey "$dir/signer.key" -in "$dir/signer.pem" \
    -passout "pass:$password" -out "$dir/signer.pfx"
  rm -f "$dir/ca.key" "$dir/ca.srl" "$dir/signer.key" "$dir/signer.csr" "$dir/signer.ext"
  echo "test certificate: $dir/signer.pfx, issued by $dir/ca.pem"
}

verify() {
  local exe=$1 ca=$2 work
  if ! osslsigncode verify -CAfile "$ca" -in "$exe" >/dev/null 2>&1; then
    echo "sign.sh: $exe: the signature does not verify against $ca" >&2
    osslsigncode verify -CAfile "$ca" -in "$exe" >&2 || true
    return 1
  fi
  # One byte in the middle of the image changed (the signature itself is appended at the end).
  work=$(mktemp -d)
  local tampered="$work/tampered.exe" offset byte
  cp "$exe" "$tampered"
  offset=$(($(stat -c %s "$tampered") / 2))
  byte=$(od -An -tu1 -j "$offset" -N1 "$tampered" | tr -d ' ')
  # shellcheck disable=SC2059
  printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
    dd of="$tampered" bs=1 seek="$offset" conv=notrunc status=none
  if osslsigncode verify -CAfile "$ca" -in "$tampered" >/dev/null 2>&1; then
    rm -rf "$work"
    echo "sign.sh: $exe: a copy with byte $offset changed still verifies" >&2
    return 1
  fi
  rm -rf "$work"
  echo "$(basename "$exe"): signature verified against $(basename "$ca"); a copy with one byte changed fails"
}

case "${1:-}" in
  test-certificate) [ $# = 3 ] || { sed -n '2,15p' "$0"; exit 2; }; test_certificate "$2" "$3" ;;
  verify) [ $# = 3 ] || { sed -n '2,15p' "$0"; exit 2; }; verify "$2" "$3" ;;
  "" | -*) sed -n '2,15p' "$0"; exit 2 ;;
  *) [ $# = 1 ] || { sed -n '2,15p' "$0"; exit 2; }; sign "$1" ;;
esac
