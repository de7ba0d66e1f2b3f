#!/usr/bin/env bash
# Does this host run 32-bit x86 Linux programs, such as Wine's 32-bit
# loader? Decided by running one, not by reading versions: some kernels
# boot with their 32-bit emulation switched off.
# Prints one word:
#   native    a 32-bit program runs natively
#   emulated  it runs, but through an interpreter registered for i386
#             programs in binfmt_misc (qemu): far too slow for a test suite
#   none      it does not run
set -uo pipefail
probe=$(mktemp /tmp/cvn-host32-XXXXXX)
trap 'rm -f "$probe"' EXIT

# The smallest static i386 ELF program: exit(42) by int 0x80.
elf='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'  # identity: 32-bit, little-endian
elf+='\x02\x00\x03\x00\x01\x00\x00\x00'                           # executable, i386, version 1
elf+='\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00'           # entry, program headers, no sections
elf+='\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'  # flags, sizes, one program header
elf+='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'  # loadable, from offset 0
elf+='\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'  # 96 bytes, read and execute
elf+='\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'           # mov eax,1; mov ebx,42; int 0x80
printf "$elf" >"$probe"
chmod +x "$probe"

timeout 60 "$probe" 2>/dev/null
if [ $? != 42 ]; then
  echo none
  exit 0
fi
# An enabled binfmt_misc entry for i386 ELF files means an interpreter ran it.
for entry in /proc/sys/fs/binfmt_misc/*; do
  [ -f "$entry" ] || continue
  if grep -qx enabled "$entry" 2>/dev/null &&
     grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" 2>/dev/null; then
    echo emulated
    exit 0
  fi
done
echo native
