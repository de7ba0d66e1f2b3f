#include "framework/PeImageDigest.h"

namespace {

std::uint32_t Read16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t Read32(const std::uint8_t* p)
{
    return Read16(p) | Read16(p + 2) << 16;
}

const std::uint32_t kPe32 = 0x10B;
const std::uint32_t kPe32Plus = 0x20B;
const std::uint32_t kCertificateEntry = 4;  // IMAGE_DIRECTORY_ENTRY_SECURITY

}  // namespace

bool PeImageDigest(const std::uint8_t* file, std::size_t size, Sha256::Digest& digest)
{
    if (file == nullptr || size < 0x40 || file[0] != 'M' || file[1] != 'Z') {
        return false;
    }
    const std::size_t pe = Read32(file + 0x3C);
    // Signature, file header and the optional header's magic.
    if (pe > size || size - pe < 4 + 20 + 2 || Read32(file + pe) != 0x00004550) {
        return false;
    }
    const std::size_t optional = pe + 4 + 20;
    const std::size_t optionalSize = Read16(file + pe + 4 + 16);
    const std::uint32_t magic = Read16(file + optional);
    if (magic != kPe32 && magic != kPe32Plus) {
        return false;
    }
    const std::size_t directoryCountAt = optional + (magic == kPe32 ? 92 : 108);
    const std::size_t directories = directoryCountAt + 4;
    const std::size_t checksumAt = optional + 64;
    const std::size_t certificateAt = directories + kCertificateEntry * 8;
    if (size - optional < optionalSize || optionalSize < certificateAt + 8 - optional ||
        Read32(file + directoryCountAt) <= kCertificateEntry) {
        return false;
    }
    std::size_t end = size;
    const std::size_t tableOffset = Read32(file + certificateAt);
    const std::size_t tableSize = Read32(file + certificateAt + 4);
    if (tableSize != 0) {
        // The table lies after the headers and ends the file: nothing may
        // hide behind it unhashed.
        if (tableOffset < certificateAt + 8 || tableOffset > size || size - tableOffset != tableSize) {
            return false;
        }
        end = tableOffset;
    }
    Sha256 hash;
    hash.Update(file, checksumAt);
    hash.Update(file + checksumAt + 4, certificateAt - (checksumAt + 4));
    hash.Update(file + certificateAt + 8, end - (certificateAt + 8));
    digest = hash.Finish();
    return true;
}
