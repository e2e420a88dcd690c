#!/usr/bin/env bash
# Signs a Windows program or installer in place with the code-signing certificate in
# QUORVELA_SIGN_PKCS12 (a PKCS#12 file) and its password in QUORVELA_SIGN_PASSWORD_FILE;
# with QUORVELA_SIGN_TIMESTAMP (a time-stamp server's URL) the signature stays valid
# after the certificate expires. Without a certificate it leaves the file unsigned.
# Usage: sign.sh FILE
set -euo pipefail
[ -n "${QUORVELA_SIGN_PKCS12:-}" ] || exit 0
file=$1
args=(sign -pkcs12 "$QUORVELA_SIGN_PKCS12" -h sha256 -n Quorvela -in "$file" -out "$file.signed")
[ -z "${QUORVELA_SIGN_PASSWORD_FILE:-}" ] || args+=(-readpass "$QUORVELA_SIGN_PASSWORD_FILE")
[ -z "${QUORVELA_SIGN_TIMESTAMP:-}" ] || args+=(-ts "$QUORVELA_SIGN_TIMESTAMP")
osslsigncode "${args[@]}" >/dev/null
mv -f "$file.signed" "$file"
