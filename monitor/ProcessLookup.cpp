#include "monitor/ProcessLookup.h"

#include <tlhelp32.h>

#include <cwchar>

#include "framework/ScopedHandles.h"
#include "framework/Trace.h"

namespace {

bool SameName(const std::wstring& a, const wchar_t* b)
{
    // Ordinal, ASCII-only case folding: the same on every locale (Turkish
    // dotted i included) and on every Windows version.
    return _wcsicmp(a.c_str(), b) == 0;
}

}  // namespace

LONG FindProcess(std::wstring name)
{
    OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) {
        return 0;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (!Process32FirstW(snapshot.Get(), &entry)) {
        Trace(L"[LC]FindProcess ChecK Fail");
        return -1;
    }
    do {
        if (SameName(name, entry.szExeFile)) {
            Trace(L"[LC] FindProcess Success!!");
            return static_cast<LONG>(entry.th32ProcessID);
        }
    } while (Process32NextW(snapshot.Get(), &entry));
    return -1;
}

bool TerminateProcessWithExitCodeZero(DWORD processId)
{
    const DWORD allAccess = 0x1F0FFF;  // all access rights, as on every version
    OwnedHandle process(OpenProcess(allAccess, FALSE, processId));
    return process.Valid() && TerminateProcess(process.Get(), 0) != FALSE;
}

bool IsProcessListedAs(DWORD processId, const std::wstring& name)
{
    OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) {
        return false;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (!Process32FirstW(snapshot.Get(), &entry)) {
        return false;
    }
    do {
        if (entry.th32ProcessID == processId) {
            return SameName(name, entry.szExeFile);
        }
    } while (Process32NextW(snapshot.Get(), &entry));
    return false;
}
