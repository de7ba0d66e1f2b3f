// Stands in for the programs the launcher starts (Corvana, the file
// manager) and for a second process under the launcher's name. Appends its
// command line to "<its own path>.log" as UTF-8, one line per start, then
// exits, or with "--wait MS" anywhere in it, sleeps that long first.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int, wchar_t**)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring line = GetCommandLineW();
    const std::wstring logPath = std::wstring(path) + L".log";

    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    utf8 += "\n";
    HANDLE log = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(log, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        CloseHandle(log);
    }

    const std::wstring::size_type wait = line.find(L"--wait ");
    if (wait != std::wstring::npos) {
        Sleep(static_cast<DWORD>(std::wcstoul(line.c_str() + wait + 7, nullptr, 10)));
    }
    return 0;
}
