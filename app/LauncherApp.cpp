#include "app/LauncherApp.h"

#include <windows.h>
#include <commctrl.h>
#include <process.h>

#include "app/CriticalErrors.h"
#include "app/ModuleFolder.h"
#include "app/UiLanguage.h"
#include "framework/ModuleFileName.h"
#include "framework/ProcessState.h"
#include "framework/ScopedHandles.h"
#include "framework/SystemLibrary.h"
#include "framework/Trace.h"
#include "monitor/DeviceMonitor.h"
#include "Profile.h"
#include "res/resource.h"
#include "workflow/LauncherDlg.h"

namespace {
CLauncherApp theApp;

const wchar_t kInstanceMutexName[] = CVN_INSTANCE_MUTEX;
const DWORD kMonitorStartWaitMs = 500;

// What the launcher's process loads by name, found with Wine's loaddll
// channel over whole runs (notice and launch, question and download, a
// screen reader's request, a scaled display) and the Windows DLLs those
// stand for: the common controls' theming, the imaging component, the
// shell, accessibility. Where Windows cannot lock the DLL search, these
// are loaded from the system folder first, so that a DLL of the same name
// beside the launcher is never taken. Windows' known DLLs (kernel32,
// user32, gdi32, advapi32, ole32, oleaut32, msvcrt, shlwapi, imm32...)
// always come from the system folder and are not listed.
const wchar_t* const kLoadedByName[] = {
    L"uxtheme.dll",  L"dwmapi.dll",  L"version.dll", L"cryptbase.dll", L"propsys.dll",       L"userenv.dll",
    L"setupapi.dll", L"apphelp.dll", L"oleacc.dll",  L"clbcatq.dll",   L"windowscodecs.dll", L"msimg32.dll",
    L"shcore.dll",   L"profapi.dll", L"sspicli.dll", L"cryptsp.dll",   L"ntmarta.dll",
};

// By name, so that the manifest's version 6 is the one loaded: a full path
// would pass by the side-by-side redirection. With the search locked the
// name can only resolve to Windows' own.
void InitCommonControlsByName()
{
    using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE library = LoadLibraryW(L"comctl32.dll");
    const auto init =
        library != nullptr
            ? reinterpret_cast<InitProc>(reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")))
            : nullptr;
    if (init != nullptr) {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
        init(&controls);
    }
}
}  // namespace

CApp::CommandTable CLauncherApp::GetCommandTable() const
{
    return {kCommands, sizeof(kCommands) / sizeof(kCommands[0])};
}

BOOL CLauncherApp::InitInstance()
{
    // Before anything loads a DLL by name.
    LockDllSearch(kLoadedByName, sizeof(kLoadedByName) / sizeof(kLoadedByName[0]));
    KeepCriticalErrorsSilent();

    // Whole, however deep the folder: a path cut short would name a parent
    // folder's marker and link file. One that does not fit at all ends
    // start-up as an empty one does.
    g_strModulePath = ModuleFileName(Instance());

    g_strModuleDir = g_strModulePath;
    if (g_strModuleDir.empty()) {
        return FALSE;
    }
    g_strModuleDir = FolderOfModulePath(g_strModuleDir);

    // Never closed, on purpose: the handle stays open for the life of the
    // process, and so does the name that keeps a second launcher out.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    const DWORD mutexError = GetLastError();
    if (mutex != nullptr) {
        ReleaseMutex(mutex);
    }
    if (mutexError == ERROR_ALREADY_EXISTS) {
        return FALSE;
    }

    g_bCheckCDFS = 1;
    Trace(L"[RZ_K] Run CheckCDFS");
    unsigned threadId = 0;
    {
        const OwnedHandle thread(
            reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, CheckCDFS, nullptr, 0, &threadId)));
        // The monitor's first look at the marker normally happens in this pause.
        WaitForSingleObject(thread.Get(), kMonitorStartWaitMs);
    }

    const UiLanguageOutcome language = SelectUiLanguage();
    if (!language.proceed) {
        return language.startupResult;
    }

    InitCommonControlsByName();

    // Base initialisation. There are no hosted ActiveX controls, so no
    // control container is needed; stored settings are never used.
    CApp::InitInstance();
    SetRegistryKey(CVN_REGISTRY_KEY_NAME);

    {
        CLauncherDlg dialog(nullptr);
        SetMainWindow(&dialog);
        dialog.DoModal();
        SetMainWindow(nullptr);
    }
    return FALSE;
}
