#!/usr/bin/env bash
# The build refuses bad disc settings at configure time, with a message.
#   settings_test.sh SOURCE_DIR
set -uo pipefail
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check() {  # expected-message cmake-arguments...
  local expected=$1; shift
  if cmake -S "$src" -B "$work/b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" \
       -DBUILD_TESTING=OFF "$@" >"$work/out.txt" 2>&1; then
    echo "FAIL: accepted $*"; exit 1
  fi
  grep -q "$expected" "$work/out.txt" || { echo "FAIL: no clear message for $*"; cat "$work/out.txt"; exit 1; }
  rm -rf "$work/b"
}
check "CVN_DOWNLOAD_LINK must be one non-empty line" -DCVN_DOWNLOAD_LINK=
check "CVN_DOWNLOAD_LINK must be one non-empty line" "-DCVN_DOWNLOAD_LINK=https://a.example/x
second line"
for link in 'C:\Windows\System32\cmd.exe' '\\host\share\x' 'file:///C:/x' 'ms-msdt:/id' '/root,C:\' \
            'https:///x' 'https://a.example/a b' 'https://a.example/"x' 'see:https://a.example/' \
            'https://a.example/\' 'https://a.example\x/y' "https://a.example/$(printf '%2031s' | tr ' ' x)"; do
  check "CVN_DOWNLOAD_LINK must be an http:// or https:// address" "-DCVN_DOWNLOAD_LINK=$link"
done
check "CVN_VOLUME_LABEL must be" -DCVN_VOLUME_LABEL=lower
check "CVN_VOLUME_LABEL must be" -DCVN_VOLUME_LABEL=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456
check "CVN_SIGN_KEY is not" -DCVN_SIGN_CERT=/tmp/cert.pem
echo "settings test passed"
