#!/usr/bin/env bash
# Installs what building and testing the launcher needs, and only what is
# missing. Safe to run again and again; run.sh and test.sh call it first.
#   setup.sh              what this host's build needs
#   setup.sh --emulated   also what the emulated run of the shipped disc needs
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

need_sudo=""
if [ "$(id -u)" != "0" ]; then need_sudo="sudo"; fi

host32=$("$here/host32.sh")
case "$host32" in
  native) echo "setup: this host runs 32-bit programs: the shipped 32-bit build and its x64 twin are tested" ;;
  emulated) echo "setup: this host runs 32-bit programs only under emulation: the x64 twin is tested" ;;
  *) echo "setup: this host refuses 32-bit programs: the x64 twin is tested" ;;
esac

# Both cross compilers always: the shipped files are built and checked on
# every host. Wine's 64-bit loader runs the twin.
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64
  xvfb x11-apps imagemagick fonts-liberation
  googletest
  xorriso osslsigncode openssl
  file python3 python3-pefile
)
# Wine's 32-bit loader only where it can run, or where the emulated run
# asks for it.
want_i386=""
if [ "$host32" = native ] || [ "${1:-}" = --emulated ]; then
  want_i386=1
  packages+=(wine32:i386)
fi
# The interpreter only where 32-bit programs do not run by themselves.
if [ "${1:-}" = --emulated ] && [ "$host32" = none ]; then packages+=(qemu-user-static); fi

# apt-get update, tried twice. A mirror caught mid-sync can fail one index
# while the others are fine: say which, and let the install decide.
failed_indexes=""
update_lists() {
  local log
  log=$(mktemp)
  if $need_sudo apt-get update -q >"$log" 2>&1 || $need_sudo apt-get update -q >"$log" 2>&1; then
    failed_indexes=""
  else
    failed_indexes=$(grep -E '^(E|W): (Failed to fetch|Some index files)' "$log" | sed 's/^/  /')
    echo "setup: apt-get update failed twice; going on with the package lists there are. It said:" >&2
    echo "${failed_indexes:-$(tail -n 5 "$log" | sed 's/^/  /')}" >&2
    failed_indexes=${failed_indexes:-"  (see above)"}
  fi
  rm -f "$log"
}

updated=""
if [ -n "$want_i386" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture for wine32 (a system-wide change)"
  $need_sudo dpkg --add-architecture i386
  update_lists
  updated=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi
echo "setup: installing ${missing[*]}"
if [ -z "$updated" ]; then update_lists; fi
if ! DEBIAN_FRONTEND=noninteractive $need_sudo apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  echo "setup: could not install ${missing[*]}" >&2
  if [ -n "$failed_indexes" ]; then
    echo "setup: the package lists may lack them because these indexes failed to update:" >&2
    echo "$failed_indexes" >&2
  fi
  exit 1
fi
