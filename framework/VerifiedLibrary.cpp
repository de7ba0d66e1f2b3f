#include "framework/VerifiedLibrary.h"

#include <vector>

#include "framework/PeImageDigest.h"
#include "framework/ScopedHandles.h"
#include "framework/SystemLibrary.h"

namespace {

bool ReadWhole(HANDLE file, DWORD maxBytes, std::vector<std::uint8_t>& bytes)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > maxBytes) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    return ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
}

}  // namespace

HMODULE LoadVerifiedLibrary(const std::wstring& path, const Sha256::Digest& expected, DWORD maxBytes)
{
    // Others may read it (the loader must), nobody may change, rename or
    // delete it while it is open.
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<std::uint8_t> bytes;
    Sha256::Digest digest{};
    if (!file || !ReadWhole(file.Get(), maxBytes, bytes) || !PeImageDigest(bytes.data(), bytes.size(), digest) ||
        digest != expected) {
        return nullptr;
    }
    // With the search locked its imports come from the system folder; else
    // they are Windows' known DLLs, which the launcher has loaded already.
    const DWORD flags = SystemFolderLoadFlags() == LOAD_LIBRARY_SEARCH_SYSTEM32 ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0;
    return LoadLibraryExW(path.c_str(), nullptr, flags);
}
