#include "framework/SystemLibrary.h"

namespace {

using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryProc = BOOL(WINAPI*)(LPCWSTR);

// kernel32 is loaded in every process; its procedures are looked up
// because XP, Vista and 7 may lack them.
FARPROC KernelProcedure(const char* name)
{
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
}

bool SearchFlagsKnown()
{
    return KernelProcedure("SetDefaultDllDirectories") != nullptr;
}

}  // namespace

void LockDllSearch(const wchar_t* const* preload, std::size_t count)
{
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void*>(KernelProcedure("SetDefaultDllDirectories")));
    if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return;
    }
    // XP SP1 and later: the current folder leaves the search. The program's
    // own folder stays first, so what it would find by name is loaded from
    // the system folder now.
    const auto setDirectory =
        reinterpret_cast<SetDllDirectoryProc>(reinterpret_cast<void*>(KernelProcedure("SetDllDirectoryW")));
    if (setDirectory != nullptr) {
        setDirectory(L"");
    }
    for (std::size_t i = 0; i < count; ++i) {
        LoadSystemLibrary(preload[i]);
    }
}

DWORD SystemFolderLoadFlags()
{
    return SearchFlagsKnown() ? LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH;
}

HMODULE LoadSystemLibrary(const wchar_t* dll)
{
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenW(dll) >= MAX_PATH) {
        return nullptr;
    }
    lstrcatW(path, L"\\");
    lstrcatW(path, dll);
    return LoadLibraryExW(path, nullptr, SystemFolderLoadFlags());
}

FARPROC SystemProcedure(const wchar_t* dll, const char* name)
{
    HMODULE module = LoadSystemLibrary(dll);
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}
