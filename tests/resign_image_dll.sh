#!/usr/bin/env bash
# The image DLL as a maker ships it after signing it twice: with one
# throwaway certificate, then again with another, which replaces the first.
#   resign_image_dll.sh DLL OUT
set -euo pipefail
dll=$1 out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in 1 2; do
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=CVN test signer $n/O=Tarnex test" \
    -keyout "$work/key$n.pem" -out "$work/cert$n.pem" >/dev/null 2>&1
done
osslsigncode sign -certs "$work/cert1.pem" -key "$work/key1.pem" -h sha256 -in "$dll" -out "$work/once.dll" >/dev/null
osslsigncode sign -certs "$work/cert2.pem" -key "$work/key2.pem" -h sha256 -in "$work/once.dll" -out "$work/twice.dll" >/dev/null
osslsigncode verify -CAfile "$work/cert2.pem" -in "$work/twice.dll" >/dev/null 2>&1
mkdir -p "$(dirname "$out")"
mv "$work/twice.dll" "$out"
