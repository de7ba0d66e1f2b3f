#!/usr/bin/python3
"""The disc binaries as the loader sees them: both marked to be copied to
the page file at load (removable and network media), the launcher
terminal-server aware, ASLR and DEP kept, a valid header checksum; in the
staging folder and inside the disc image. And lean: within their size
budgets, and the image DLL links no C++ runtime.

    pe_header_test.py DISC_FOLDER ISO EXE_MAP DLL_MAP
"""
import os
import re
import subprocess
import sys
import tempfile

import pefile

# Code and the 96-dot resources; faces for other scales are drawn at run
# time, not stored.
EXE_BUDGET = 150 * 1024
DLL_BUDGET = 24 * 1024
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def check_binary(path):
    name = os.path.basename(path)
    pe = pefile.PE(path)
    flags = pe.FILE_HEADER.Characteristics
    check(flags & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP"],
          f"{path}: not copied to the page file when run from removable media")
    check(flags & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_NET_RUN_FROM_SWAP"],
          f"{path}: not copied to the page file when run from the network")
    dll_flags = pe.OPTIONAL_HEADER.DllCharacteristics
    for flag in ("IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE", "IMAGE_DLLCHARACTERISTICS_NX_COMPAT"):
        check(dll_flags & pefile.DLL_CHARACTERISTICS[flag], f"{path}: lacks {flag}")
    if name.lower().endswith(".exe"):
        check(dll_flags & pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE"],
              f"{path}: not terminal-server aware")
    check(pe.OPTIONAL_HEADER.CheckSum != 0 and pe.verify_checksum(),
          f"{path}: header checksum 0x{pe.OPTIONAL_HEADER.CheckSum:x}, should be 0x{pe.generate_checksum():x}")
    pe.close()


def archive_members(link_map, libraries):
    """Members of the given static libraries that the link pulled in."""
    with open(link_map) as f:
        text = f.read()
    pulled = text.split("Discarded input sections")[0]
    pattern = r"^\S*lib(?:%s)\.a\((\S+)\)" % "|".join(re.escape(lib) for lib in libraries)
    return re.findall(pattern, pulled, re.M)


def main(disc, iso, exe_map, dll_map):
    with tempfile.TemporaryDirectory() as work:
        subprocess.run(["xorriso", "-osirrox", "on", "-indev", iso, "-extract", "/", work],
                       check=True, capture_output=True)
        for folder in (disc, work):
            for name in ("CVNAI.exe", "CVNImage.dll"):
                check_binary(os.path.join(folder, name))
        for path, _, _ in os.walk(work):
            os.chmod(path, 0o755)
    exe_size = os.path.getsize(os.path.join(disc, "CVNAI.exe"))
    dll_size = os.path.getsize(os.path.join(disc, "CVNImage.dll"))
    check(exe_size <= EXE_BUDGET, f"CVNAI.exe is {exe_size} bytes, over its {EXE_BUDGET}")
    check(dll_size <= DLL_BUDGET, f"CVNImage.dll is {dll_size} bytes, over its {DLL_BUDGET}")
    heavy = ["gcc_eh", "pthread", "winpthread"]
    check(not archive_members(exe_map, heavy),
          f"CVNAI.exe links the unwinder or the thread library: {archive_members(exe_map, heavy)}")
    runtime = ["stdc++", "supc++"] + heavy
    check(not archive_members(dll_map, runtime),
          f"CVNImage.dll links C++ runtime pieces: {archive_members(dll_map, runtime)}")
    # The check itself must see members where there are some.
    check(archive_members(exe_map, ["kernel32"]), f"{exe_map} lists no archive members: not a link map")
    for message in failures:
        print("FAIL:", message)
    print(f"pe header test: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
