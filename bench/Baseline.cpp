// The bench's baseline: a minimal Win32 program that shows one plain dialog.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    MessageBoxW(nullptr, L"Corvana is not installed.\r\nDo you want to download the installation file?",
                L"CVN Auto Installer", MB_OKCANCEL);
    return 0;
}
