// Stands in for the programs the launcher starts (Corvana, the file
// manager) and for a second process under the launcher's name. Appends its
// command line to "<its own path>.log" as UTF-8, one line per start, and
// writes its working folder to "<its own path>.cwd", then exits, or with
// "--wait MS" anywhere in it, sleeps that long first.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {
void Write(const std::wstring& path, const std::wstring& text, DWORD access, DWORD disposition)
{
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    HANDLE file = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        CloseHandle(file);
    }
}
}  // namespace

int wmain(int, wchar_t**)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring line = GetCommandLineW();
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    Write(std::wstring(path) + L".cwd", folder, GENERIC_WRITE, CREATE_ALWAYS);
    Write(std::wstring(path) + L".log", line + L"\n", FILE_APPEND_DATA, OPEN_ALWAYS);

    const std::wstring::size_type wait = line.find(L"--wait ");
    if (wait != std::wstring::npos) {
        Sleep(static_cast<DWORD>(std::wcstoul(line.c_str() + wait + 7, nullptr, 10)));
    }
    return 0;
}
