// The download link: read from the link file beside the executable and
// handed to the file manager, which opens it.
#include <windows.h>

#include <string>

#include "Profile.h"
#include "framework/ProcessState.h"
#include "framework/ScopedHandles.h"
#include "framework/Trace.h"
#include "skin/MessageDialogs.h"
#include "workflow/LauncherDlg.h"
#include "workflow/LinkFile.h"
#include "workflow/MessageText.h"
#include "workflow/ShellLaunch.h"

namespace {
// Reads no further than the end of the first line, or its first 64 KiB,
// however long the file.
FirstLineReader ReadFirstLine(HANDLE file)
{
    FirstLineReader reader;
    char chunk[16 * 1024];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
        if (!reader.Feed(chunk, read)) {
            break;
        }
    }
    return reader;
}

// The file manager where Windows keeps it, never one found by name in the
// launcher's own or current folder. The launcher is terminal-server aware,
// so this is the system's Windows folder, not a per-user copy.
std::wstring WindowsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}
}  // namespace

bool CLauncherDlg::DownloadCVN()
{
    Trace(L"[RZ_K] DownloadCVN(+)");
    const std::wstring path = g_strModuleDir + L"\\" CVN_LINK_FILE;
    // No sharing: a link file another program holds open is an error.
    OwnedHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        Trace(L"[RZ_K] INI File Error.");
        ShowNotice(kMessageTitle, LoadMessageText(IDS_CVN_VERIFY_ERROR));
        return false;
    }

    // Only a web address is handed on: the file manager would open a
    // program, a network share or its own switches just as well.
    std::string address;
    if (!DownloadAddressFromFirstLine(ReadFirstLine(file.Get()), address)) {
        Trace(L"[RZ_K] Wrong File Error.");
        ShowNotice(kMessageTitle, LoadMessageText(IDS_CVN_VERIFY_ERROR));
        return false;
    }
    file.Reset();

    const std::wstring windows = WindowsFolder();
    const FileManagerStart start = FileManagerFor(windows, address);
    const bool result = !windows.empty() &&
                        LaunchAndWait(start.program, start.parameters, start.folder, L"[RZ_K] CVN Download OK.");
    Trace(L"[RZ_K] DownloadCVN(-)");
    return result;
}
