#include "framework/ModuleFileName.h"

std::wstring ModuleFileName(HMODULE module)
{
    // A path that fills the buffer may have been cut short: try a larger one.
    for (DWORD capacity = MAX_PATH; capacity <= 32768; capacity *= 2) {
        std::wstring path(capacity, L'\0');
        const DWORD length = GetModuleFileNameW(module, &path[0], capacity);
        if (length == 0) {
            return std::wstring();
        }
        if (length < capacity) {
            path.resize(length);
            return path;
        }
    }
    return std::wstring();
}
