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

// Letter case of ASCII letters aside, as Windows compares path prefixes.
bool StartsWithNoCase(const std::wstring& text, std::size_t at, const wchar_t* prefix)
{
    const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    for (std::size_t i = 0; prefix[i] != L'\0'; ++i) {
        if (at + i >= text.size() || fold(text[at + i]) != fold(prefix[i])) {
            return false;
        }
    }
    return true;
}

// Whether `path` names a file that a machine other than this one serves:
// a UNC path, or a drive Windows reports as remote (a mapped share, a
// subst of one). There the server decides what each open returns, whatever
// share modes say, so such a file is never loaded. Anything but a plain
// drive path counts as remote.
bool OnAnotherMachine(const std::wstring& path)
{
    std::size_t at = 0;
    if (StartsWithNoCase(path, 0, L"\\\\?\\")) {
        if (StartsWithNoCase(path, 4, L"UNC\\")) {
            return true;
        }
        at = 4;
    }
    if (path.size() < at + 3 || path[at + 1] != L':' || path[at + 2] != L'\\') {
        return true;
    }
    const wchar_t root[] = {path[at], L':', L'\\', L'\0'};
    return GetDriveTypeW(root) == DRIVE_REMOTE;
}

using GetFinalPathNameByHandleProc = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
const DWORD kNormalizedDosPath = 0;  // FILE_NAME_NORMALIZED | VOLUME_NAME_DOS

// The path of the file `file` holds open, with every drive mapping,
// junction and link in the path it was opened by resolved (Vista and
// later); `given` itself where Windows lacks the call (XP). False when the
// call fails.
bool FinalPathOf(HANDLE file, const std::wstring& given, std::wstring& final)
{
    const auto finalPath =
        SystemProcedureAs<GetFinalPathNameByHandleProc>(L"kernel32.dll", "GetFinalPathNameByHandleW");
    if (finalPath == nullptr) {
        final = given;
        return true;
    }
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = finalPath(file, &path[0], static_cast<DWORD>(path.size()), kNormalizedDosPath);
    if (length >= path.size() && length <= 32768) {  // the size it needs, with its terminator
        path.assign(length, L'\0');
        length = finalPath(file, &path[0], static_cast<DWORD>(path.size()), kNormalizedDosPath);
    }
    if (length == 0 || length >= path.size()) {
        return false;
    }
    path.resize(length);
    // "\\?\C:\..." where the plain form holds it: loaders before Windows 7
    // may not take the prefix.
    if (length < MAX_PATH + 4 && StartsWithNoCase(path, 0, L"\\\\?\\") && !StartsWithNoCase(path, 4, L"UNC\\")) {
        path.erase(0, 4);
    }
    final = path;
    return true;
}

}  // namespace

HMODULE LoadVerifiedLibrary(const std::wstring& path, const Sha256::Digest& expected, DWORD maxBytes)
{
    if (OnAnotherMachine(path)) {
        return nullptr;
    }
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
    // The loader opens by path again: give it the path of the file held
    // open, in which no drive letter, junction or link can be re-pointed
    // between the check and the load. The handle stays open until then.
    std::wstring held;
    if (!FinalPathOf(file.Get(), path, held) || OnAnotherMachine(held)) {
        return nullptr;
    }
    // With the search locked its imports come from the system folder; else
    // they are Windows' known DLLs, which the launcher has loaded already.
    const DWORD flags = SystemFolderLoadFlags() == LOAD_LIBRARY_SEARCH_SYSTEM32 ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0;
    return LoadLibraryExW(held.c_str(), nullptr, flags);
}
