// pressbutton: clicks a button of the launcher's open skinned dialog, for
// demos and scripted checks: "pressbutton OK" or "pressbutton EXIT".
// Waits up to 20 s for the dialog; exit code 1 when none appears.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {
BOOL CALLBACK FindDialog(HWND window, LPARAM param)
{
    wchar_t text[16] = {};
    GetWindowTextW(window, text, 16);
    if (IsWindowVisible(window) && std::wstring(text) == L"RZ_K") {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 || (std::wcscmp(argv[1], L"OK") != 0 && std::wcscmp(argv[1], L"EXIT") != 0)) {
        std::fwprintf(stderr, L"usage: pressbutton OK|EXIT\n");
        return 2;
    }
    const int id = std::wcscmp(argv[1], L"OK") == 0 ? IDOK : IDCANCEL;
    for (int attempt = 0; attempt < 200; ++attempt) {
        HWND dialog = nullptr;
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&dialog));
        HWND button = dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
        if (button != nullptr) {
            PostMessageW(button, BM_CLICK, 0, 0);
            std::printf("pressbutton: pressed %ls\n", argv[1]);
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "pressbutton: no dialog with that button\n");
    return 1;
}
