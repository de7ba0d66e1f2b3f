#include "workflow/ShellLaunch.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/ScopedHandles.h"
#include "framework/SystemLibrary.h"
#include "framework/Trace.h"

namespace {
const DWORD kLaunchWaitMs = 2500;
}

bool LaunchAndWait(const std::wstring& file, const std::wstring& parameters, const std::wstring& folder,
                   const wchar_t* successTrace)
{
    SHELLEXECUTEINFOW launch{};
    launch.cbSize = sizeof(launch);
    launch.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // 0x440
    launch.lpFile = file.c_str();
    launch.lpParameters = parameters.c_str();
    // Its own working folder, not the launcher's: that is the disc, which
    // Windows would then report in use and refuse to eject.
    launch.lpDirectory = folder.c_str();
    launch.nShow = SW_SHOWNORMAL;
    // The shell is loaded only now: start-up does not wait for it.
    const auto shellExecuteEx =
        SystemProcedureAs<BOOL(WINAPI*)(SHELLEXECUTEINFOW*)>(L"shell32.dll", "ShellExecuteExW");
    if (shellExecuteEx == nullptr || !shellExecuteEx(&launch)) {
        return false;
    }
    const OwnedHandle process(launch.hProcess);
    Trace(successTrace);
    if (process.Valid()) {
        WaitForSingleObject(process.Get(), kLaunchWaitMs);
    }
    return true;
}
