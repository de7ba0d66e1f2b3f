// Detection of the installed suite through its uninstall record, and its
// launch.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "Profile.h"

#include "framework/ScopedHandles.h"
#include "framework/SystemLibrary.h"
#include "framework/Trace.h"
#include "workflow/InstallLocation.h"
#include "workflow/LauncherDlg.h"
#include "workflow/ShellLaunch.h"

namespace {
const wchar_t kUninstallKey[] = CVN_SUITE_UNINSTALL_KEY;
const wchar_t kInstallLocationValue[] = L"InstallLocation";

}  // namespace

int CLauncherDlg::CheckCVN()
{
    Trace(L"[RZ_K] CheckCVN(+)");
    int result = 0;
    // Opened read-only and never created: detection must not write an
    // empty uninstall record into HKEY_LOCAL_MACHINE. The suite's 32-bit
    // installer writes its record in the 32-bit view; asking for that view
    // by name reads it from a 64-bit build too. 32-bit Windows, XP among
    // them, ignores the flag.
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_32KEY, key.Receive()) ==
        ERROR_SUCCESS) {
        BYTE buffer[kInstallLocationBufferChars * sizeof(wchar_t)] = {};
        DWORD type = 0;
        DWORD size = sizeof(buffer);
        std::u16string folder;
        // A relative folder counts as not installed: it would resolve
        // against the launcher's working folder, the disc.
        if (RegQueryValueExW(key.Get(), kInstallLocationValue, nullptr, &type, buffer, &size) == ERROR_SUCCESS &&
            InstalledFolder(type, buffer, size, folder)) {
            m_strInstallLocation.assign(folder.begin(), folder.end());
            TraceF(L"[RZ_K] CVN InstallLocation : [%s]", m_strInstallLocation.c_str());
            result = 1;
        }
    }
    Trace(L"[RZ_K] CheckCVN(-)");
    return result;
}

bool CLauncherDlg::RunCVN()
{
    Trace(L"[RZ_K] RunCVN(+)");
    wchar_t programFiles[MAX_PATH] = {};
    const auto getFolderPath =
        SystemProcedureAs<HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR)>(L"shell32.dll", "SHGetFolderPathW");
    const HRESULT folder = getFolderPath != nullptr
                               ? getFolderPath(nullptr, CSIDL_PROGRAM_FILES | CSIDL_FLAG_CREATE, nullptr,
                                               SHGFP_TYPE_CURRENT, programFiles)
                               : E_FAIL;
    m_strInstallLocation = SuiteFolder(m_strInstallLocation, SUCCEEDED(folder) ? programFiles : L"");
    Trace(m_strInstallLocation);

    // Started in its install folder, as a shortcut starts it. A folder that
    // is still not absolute (no program-files folder to default to) would
    // resolve against the disc: nothing is started then.
    const bool result =
        IsAbsoluteFolder(m_strInstallLocation) &&
        LaunchAndWait(SuiteExecutable(m_strInstallLocation), L"", m_strInstallLocation, L"[RZ_K] CVN Run OK.");
    Trace(L"[RZ_K] RunCVN(-)");
    return result;
}
