#include "app/LauncherApp.h"

#include <windows.h>
#include <commctrl.h>
#include <process.h>

#include "app/CriticalErrors.h"
#include "app/ModuleFolder.h"
#include "app/UiLanguage.h"
#include "framework/ProcessState.h"
#include "framework/ScopedHandles.h"
#include "framework/Trace.h"
#include "monitor/DeviceMonitor.h"
#include "res/resource.h"
#include "workflow/LauncherDlg.h"

namespace {
CLauncherApp theApp;

const wchar_t kInstanceMutexName[] = L"Tarnex_CVN_INSTALLER";
const DWORD kMonitorStartWaitMs = 500;
}  // namespace

CApp::CommandTable CLauncherApp::GetCommandTable() const
{
    return {kCommands, sizeof(kCommands) / sizeof(kCommands[0])};
}

BOOL CLauncherApp::InitInstance()
{
    KeepCriticalErrorsSilent();

    wchar_t modulePath[MAX_PATH] = {};
    GetModuleFileNameW(Instance(), modulePath, MAX_PATH - 1);
    g_strModulePath = modulePath;

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

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    // Base initialisation. There are no hosted ActiveX controls, so no
    // control container is needed; stored settings are never used.
    CApp::InitInstance();
    SetRegistryKey(L"Tarnex CVN Auto Installer");

    {
        CLauncherDlg dialog(nullptr);
        SetMainWindow(&dialog);
        dialog.DoModal();
        SetMainWindow(nullptr);
    }
    return FALSE;
}
