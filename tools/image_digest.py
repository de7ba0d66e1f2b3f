#!/usr/bin/python3
"""The image DLL's digest as the launcher checks it before loading the DLL:
SHA-256 over the file except the header checksum, the certificate table's
directory entry and the certificate table (framework/PeImageDigest.cpp
computes the same at run time). Signing leaves it unchanged.

    image_digest.py DLL              prints the digest
    image_digest.py DLL HEADER       writes it as a C++ header, if changed
"""
import hashlib
import struct
import sys


def image_digest(data):
    if data[:2] != b"MZ":
        raise ValueError("not a PE file")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    checksum = optional + 64
    certificate = directories + 4 * 8
    offset, size = struct.unpack_from("<II", data, certificate)
    end = len(data)
    if size:
        if offset + size != len(data):
            raise ValueError("the certificate table does not end the file")
        end = offset
    h = hashlib.sha256()
    h.update(data[:checksum])
    h.update(data[checksum + 4:certificate])
    h.update(data[certificate + 8:end])
    return h.digest()


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    with open(argv[1], "rb") as f:
        digest = image_digest(f.read())
    if len(argv) == 2:
        print(digest.hex())
        return
    body = ", ".join("0x%02x" % b for b in digest)
    text = ("// Written by tools/image_digest.py from the image DLL built with this\n"
            "// launcher: the only CVNImage.dll it loads.\n"
            "#pragma once\n"
            "#include <cstdint>\n\n"
            "constexpr std::uint8_t kImageLibraryDigest[32] = {%s};\n" % body)
    try:
        with open(argv[2]) as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(argv[2], "w") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv)
