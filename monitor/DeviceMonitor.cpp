#include "monitor/DeviceMonitor.h"

#include <windows.h>

#include <string>

#include "Profile.h"
#include "framework/ProcessState.h"
#include "framework/ScopedHandles.h"
#include "framework/Trace.h"
#include "monitor/ProcessLookup.h"

namespace {

const wchar_t kOwnExecutableName[] = CVN_LAUNCHER_FILE;
const DWORD kPollIntervalMs = 800;

std::wstring FormatStatusLine(std::int32_t flag)
{
    wchar_t line[64];
    _snwprintf(line, 64, L"[RZ_K] CheckCDFS : %d", static_cast<int>(flag));
    line[63] = L'\0';
    return line;
}

// Opened with no sharing: a marker held open by another program counts as
// absent, as does any other failure to open it.
bool MarkerCanBeOpened()
{
    const std::wstring path = g_strModuleDir + L"\\" CVN_MARKER_FILE;
    const OwnedHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

void TerminateOwnProcessIfListedAsLauncher()
{
    FindProcess(kOwnExecutableName);
    // Only this launcher itself is ended, and only when it runs under the
    // launcher's file name: another process of that name (another device's
    // or another user's launcher) is never touched.
    const DWORD self = GetCurrentProcessId();
    if (!IsProcessListedAs(self, kOwnExecutableName)) {
        return;
    }
    TerminateProcessWithExitCodeZero(self);
}

}  // namespace

unsigned __stdcall CheckCDFS(void*)
{
    const std::wstring statusLine = FormatStatusLine(g_bCheckCDFS.load());
    while (g_bCheckCDFS.load() == 1) {
        Trace(statusLine);
        if (!MarkerCanBeOpened()) {
            Trace(L"[RZ_K] CDFS out!! Kill me!");
            TerminateOwnProcessIfListedAsLauncher();
            break;
        }
        Trace(L"[RZ_K] CDFS exist!");
        Sleep(kPollIntervalMs);
    }
    return 0;
}
