#!/usr/bin/env python3
"""Marks a PE file to be run from the page file: Windows then copies the
whole image into memory at load, so the module keeps working when the
removable or network medium it came from goes away. GNU ld has no switch
for these flags. Recomputes the header checksum afterwards.

    pe_swaprun.py FILE
"""
import sys

import pefile

RUN_FROM_SWAP = (pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP"]
                 | pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_NET_RUN_FROM_SWAP"])


def main(path):
    pe = pefile.PE(path, fast_load=True)
    pe.FILE_HEADER.Characteristics |= RUN_FROM_SWAP
    flagged = pe.write()
    pe.close()
    # The checksum covers the header just changed: compute it over the
    # written bytes.
    pe = pefile.PE(data=bytes(flagged), fast_load=True)
    pe.OPTIONAL_HEADER.CheckSum = pe.generate_checksum()
    data = pe.write()
    pe.close()
    with open(path, "wb") as out:
        out.write(data)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
