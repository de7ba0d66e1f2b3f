#include "framework/SystemLibrary.h"

FARPROC SystemProcedure(const wchar_t* dll, const char* name)
{
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenW(dll) >= MAX_PATH) {
        return nullptr;
    }
    lstrcatW(path, L"\\");
    lstrcatW(path, dll);
    HMODULE module = LoadLibraryW(path);
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}
