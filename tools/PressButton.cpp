// pressbutton: clicks a button of the launcher's open skinned dialog, for
// demos and scripted checks: "pressbutton OK" or "pressbutton EXIT".
// Waits up to 20 s for the dialog; exit code 1 when none appears.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "DialogControl.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 || (std::wcscmp(argv[1], L"OK") != 0 && std::wcscmp(argv[1], L"EXIT") != 0)) {
        std::fwprintf(stderr, L"usage: pressbutton OK|EXIT\n");
        return 2;
    }
    const int id = std::wcscmp(argv[1], L"OK") == 0 ? IDOK : IDCANCEL;
    HWND dialog = WaitForLauncherDialog(0, 20000);
    if (dialog == nullptr || GetDlgItem(dialog, id) == nullptr) {
        std::fprintf(stderr, "pressbutton: no dialog with that button\n");
        return 1;
    }
    ClickButton(dialog, id);
    std::printf("pressbutton: pressed %ls\n", argv[1]);
    return 0;
}
