// Planted beside the launcher or in its current folder under the name of a
// DLL that Windows or the launcher loads: whatever loads it leaves
// "<its own path>.loaded" behind, and the load fails.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) {
        return TRUE;
    }
    wchar_t mark[MAX_PATH + 8] = {};
    if (GetModuleFileNameW(self, mark, MAX_PATH) > 0) {
        lstrcatW(mark, L".loaded");
        HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
    }
    return FALSE;
}
