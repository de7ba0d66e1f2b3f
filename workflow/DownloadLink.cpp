// The download link: read from the link file beside the executable and
// handed to the file manager, which opens it.
#include <windows.h>

#include <string>

#include "framework/ProcessState.h"
#include "framework/ScopedHandles.h"
#include "framework/Trace.h"
#include "skin/MessageDialogs.h"
#include "workflow/LauncherDlg.h"
#include "workflow/LinkFile.h"
#include "workflow/MessageText.h"
#include "workflow/ShellLaunch.h"

namespace {
// Reads no further than the end of the first line, however long the file.
std::string ReadFirstLine(HANDLE file)
{
    FirstLineReader reader;
    char chunk[64 * 1024];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) {
        if (!reader.Feed(chunk, read)) {
            break;
        }
    }
    return reader.Line();
}

// Each byte is one character, as a text-mode read in the C library's
// default locale gives it.
std::wstring WidenBytes(const std::string& bytes)
{
    std::wstring wide;
    wide.reserve(bytes.size());
    for (unsigned char c : bytes) {
        wide.push_back(static_cast<wchar_t>(c));
    }
    return wide;
}
}  // namespace

bool CLauncherDlg::DownloadCVN()
{
    Trace(L"[RZ_K] DownloadCVN(+)");
    const std::wstring path = g_strModuleDir + L"\\CVNAI.ini";
    // No sharing: a link file another program holds open is an error.
    OwnedHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        Trace(L"[RZ_K] INI File Error.");
        ShowNotice(kMessageTitle, LoadMessageText(IDS_CVN_VERIFY_ERROR));
        return false;
    }

    std::string link;
    if (!ExtractDownloadLink(ReadFirstLine(file.Get()), link)) {
        Trace(L"[RZ_K] Wrong File Error.");
        ShowNotice(kMessageTitle, LoadMessageText(IDS_CVN_VERIFY_ERROR));
        return false;
    }
    file.Reset();

    const bool result = LaunchAndWait(L"explorer", WidenBytes(link), L"[RZ_K] CVN Download OK.");
    Trace(L"[RZ_K] DownloadCVN(-)");
    return result;
}
