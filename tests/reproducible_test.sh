#!/usr/bin/env bash
# The disc is reproducible: built again from the same sources and settings
# in another folder (another path, later), the launcher, the image DLL and
# the image are the same bytes. Signing adds only signatures, and the
# verifier accepts a signed image of this build and rejects one whose
# launcher has a single byte changed.
#   reproducible_test.sh SOURCE_DIR BUILD_DIR TOOLCHAIN_FILE
set -euo pipefail
source_dir=$1 build_dir=$2 toolchain=$3
work=$(mktemp -d /tmp/cvn-reproducible-XXXXXX)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt"; }

again="$work/a/different/and/longer/build folder"
cmake -S "$source_dir" -B "$again" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCVN_DOWNLOAD_LINK="$(cache CVN_DOWNLOAD_LINK)" \
  -DCVN_VOLUME_LABEL="$(cache CVN_VOLUME_LABEL)" >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "configure"; }
cmake --build "$again" --target iso >>"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "build"; }
for output in bin/CVNAI.exe bin/CVNImage.dll cvn-disc.iso; do
  cmp "$build_dir/$output" "$again/$output" || fail "$output differs between two builds of the same sources"
done

# Signed with a throwaway certificate: only signatures are added.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=CVN reproducibility test" \
  -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
cp -r "$build_dir/disc" "$work/signed"
chmod -R u+w "$work/signed"
cmake -DTOOL="$(command -v osslsigncode)" -DCERT="$work/cert.pem" -DKEY="$work/key.pem" -DPASSWORD_FILE= \
  -DTIMESTAMP= -DFILES="$work/signed/CVNAI.exe,$work/signed/CVNImage.dll" \
  -P "$source_dir/cmake/sign.cmake" >/dev/null
for file in CVNAI.exe CVNImage.dll; do
  cmp -s "$work/signed/$file" "$build_dir/disc/$file" && fail "$file was not signed"
  osslsigncode remove-signature -in "$work/signed/$file" -out "$work/stripped-$file" >/dev/null
  cmp "$work/stripped-$file" "$build_dir/disc/$file" || fail "signing $file changed more than its signature"
done
write_iso() {  # folder iso
  cmake -DXORRISO="$(command -v xorriso)" -DFOLDER="$1" -DOUT="$2" -DLABEL="$(cache CVN_VOLUME_LABEL)" \
    -DEPOCH="$(cache CVN_ISO_EPOCH)" -P "$source_dir/cmake/write_iso.cmake"
}
write_iso "$work/signed" "$work/signed.iso"
"$source_dir/tools/verify-disc" "$work/signed.iso" >"$work/verdict.txt" 2>&1 ||
  { cat "$work/verdict.txt"; fail "the verifier rejects a signed image of this build"; }
[ "$(cat "$work/verdict.txt")" = identical ] || { cat "$work/verdict.txt"; fail "the verifier did not say identical"; }

# One byte of the launcher's code changed.
offset=$((0x1000))  # in the code section
byte=$(od -An -tu1 -j "$offset" -N1 "$work/signed/CVNAI.exe" | tr -d ' ')
printf "\\$(printf '%03o' $(( (byte + 1) % 256 )))" | dd of="$work/signed/CVNAI.exe" bs=1 seek="$offset" conv=notrunc 2>/dev/null
write_iso "$work/signed" "$work/tampered.iso"
status=0
"$source_dir/tools/verify-disc" "$work/tampered.iso" >"$work/verdict.txt" 2>&1 || status=$?
[ "$status" = 1 ] || { cat "$work/verdict.txt"; fail "the verifier exited $status on a tampered image, not 1"; }
grep -q "^CVNAI.exe: bytes 0x1000-0x1000 differ (section .text)" "$work/verdict.txt" ||
  { cat "$work/verdict.txt"; fail "the verifier did not point at the changed byte"; }
echo "reproducible test passed"
