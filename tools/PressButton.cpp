// pressbutton: clicks a button of the launcher's open skinned dialog, for
// demos and scripted checks: "pressbutton OK" or "pressbutton EXIT".
// Waits up to 20 s for the dialog (--wait SECONDS for longer, as under
// emulation); exit code 1 when none appears.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "DialogControl.h"

int wmain(int argc, wchar_t** argv)
{
    DWORD waitMs = 20000;
    int first = 1;
    if (argc == 4 && std::wcscmp(argv[1], L"--wait") == 0) {
        wchar_t* end = nullptr;
        const unsigned long seconds = std::wcstoul(argv[2], &end, 10);
        if (!std::iswdigit(argv[2][0]) || *end != L'\0' || seconds == 0 || seconds > 3600) {
            std::fwprintf(stderr, L"pressbutton: bad wait '%ls' (1 to 3600 seconds)\n", argv[2]);
            return 2;
        }
        waitMs = seconds * 1000;
        first = 3;
    }
    if (argc != first + 1 || (std::wcscmp(argv[first], L"OK") != 0 && std::wcscmp(argv[first], L"EXIT") != 0)) {
        std::fwprintf(stderr, L"usage: pressbutton [--wait SECONDS] OK|EXIT\n");
        return 2;
    }
    const int id = std::wcscmp(argv[first], L"OK") == 0 ? IDOK : IDCANCEL;
    HWND dialog = WaitForLauncherDialog(0, waitMs);
    if (dialog == nullptr || GetDlgItem(dialog, id) == nullptr) {
        std::fprintf(stderr, "pressbutton: no dialog with that button\n");
        return 1;
    }
    ClickButton(dialog, id);
    std::printf("pressbutton: pressed %ls\n", argv[first]);
    return 0;
}
