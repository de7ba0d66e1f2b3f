#!/usr/bin/env bash
# Signs copies of the built launcher and image DLL with a throwaway
# self-signed certificate through the build's signing step, and verifies
# the signatures. The unsigned build stays unsigned.
#   signing_test.sh CMAKE SIGN_SCRIPT EXE DLL
set -euo pipefail
cmake=$1 script=$2 exe=$3 dll=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=CVN test signer/O=Tarnex test" \
  -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
cp "$exe" "$dll" "$work/"
if osslsigncode verify -in "$work/CVNAI.exe" >/dev/null 2>&1; then fail "the default build is signed"; fi

"$cmake" -DTOOL="$(command -v osslsigncode)" -DCERT="$work/cert.pem" -DKEY="$work/key.pem" \
  -DPASSWORD_FILE= -DTIMESTAMP= -DFILES="$work/CVNAI.exe,$work/CVNImage.dll" -P "$script" ||
  fail "signing failed"
for file in CVNAI.exe CVNImage.dll; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$work/$file" >"$work/verify.txt" 2>&1 ||
    { cat "$work/verify.txt"; fail "$file does not verify"; }
  grep -q "CVN test signer" "$work/verify.txt" || fail "$file is not signed by the test certificate"
done
# A missing key is refused with a message, and nothing is half-signed.
cp "$exe" "$work/again.exe"
if "$cmake" -DTOOL="$(command -v osslsigncode)" -DCERT="$work/cert.pem" -DKEY="$work/none.pem" \
     -DPASSWORD_FILE= -DTIMESTAMP= -DFILES="$work/again.exe" -P "$script" >/dev/null 2>&1; then
  fail "a missing key was accepted"
fi
cmp -s "$exe" "$work/again.exe" || fail "a refused signing changed the file"
echo "signing test passed"
