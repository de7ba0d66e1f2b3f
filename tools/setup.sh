#!/usr/bin/env bash
# Installs what building and testing the launcher needs, and only what is
# missing. Safe to run again and again; run.sh and test.sh call it first.
set -euo pipefail

need_sudo=""
if [ "$(id -u)" != "0" ]; then need_sudo="sudo"; fi

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-i686-dev
  wine wine64 wine32:i386
  xvfb x11-apps imagemagick fonts-liberation
  googletest
  xorriso osslsigncode openssl
  file python3 python3-pefile
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture for wine32"
  $need_sudo dpkg --add-architecture i386
  $need_sudo apt-get update -q
  updated=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ -z "${updated:-}" ]; then $need_sudo apt-get update -q; fi
  DEBIAN_FRONTEND=noninteractive $need_sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
