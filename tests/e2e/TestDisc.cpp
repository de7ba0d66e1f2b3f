#include "TestDisc.h"

#include <vector>

#include "framework/ScopedHandles.h"

namespace {
std::wstring Join(const std::wstring& folder, const std::wstring& name)
{
    return folder + L"\\" + name;
}
}  // namespace

const wchar_t kUninstallKeyPath[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{6A3E19C2-47D0-4B8E-9F21-0C5D7E8A4B13}";

std::wstring WindowsPathOf(const std::wstring& unixPath)
{
    std::wstring path = L"Z:" + unixPath;
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return path;
}

std::wstring NewTempFolder(const wchar_t* prefix, const std::wstring& under)
{
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = under.empty() ? std::wstring(temp) : under;
    if (!base.empty() && base.back() == L'\\') {
        base.pop_back();
    }
    // Names already taken are skipped; any other failure (no temporary
    // folder, no rights, disc full) will not mend itself.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring folder =
            base + L"\\" + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return std::wstring();
}

TestProcess::~TestProcess()
{
    if (m_info.hProcess != nullptr) {
        OwnedHandle process(m_info.hProcess);
        OwnedHandle thread(m_info.hThread);
        TerminateProcess(process.Get(), 0);
        WaitForSingleObject(process.Get(), 10000);
    }
}

bool TestProcess::Start(std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return m_info.hProcess == nullptr && CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                                        nullptr, nullptr, &startup, &m_info);
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    OwnedFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = Join(folder, name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search.Get(), &found));
    }
    search.Reset();
    RemoveDirectoryW(folder.c_str());
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::wstring& path)
{
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr) && read > 0) {
        bytes.append(chunk, read);
    }
    return bytes;
}

TestDisc::TestDisc(const std::wstring& under) : m_folder(NewTempFolder(L"cvn-disc-", under))
{
    const std::wstring source = WindowsPathOf(CVN_DISC_DIR);
    WIN32_FIND_DATAW found;
    OwnedFindHandle search(FindFirstFileW((source + L"\\*").c_str(), &found));
    if (!search) {
        return;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            CopyFileW(Join(source, found.cFileName).c_str(), Join(m_folder, found.cFileName).c_str(), FALSE);
        }
    } while (FindNextFileW(search.Get(), &found));
}

TestDisc::~TestDisc()
{
    RemoveTree(m_folder);
}

void TestDisc::Write(const std::wstring& name, const std::string& bytes) const
{
    OwnedHandle file(CreateFileW(PathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool TestDisc::Remove(const std::wstring& name) const
{
    // The monitor holds the marker open for an instant now and then.
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (DeleteFileW(PathOf(name).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) {
            return true;
        }
        Sleep(5);
    }
    return false;
}

std::wstring TestDisc::PlaceStub(const std::wstring& path) const
{
    const std::wstring target = path.size() > 1 && path[1] == L':' ? path : PathOf(path);
    CopyFileW(WindowsPathOf(CVN_STUB_PATH).c_str(), target.c_str(), FALSE);
    return target + L".log";
}

std::wstring StubWorkingFolder(const std::wstring& path)
{
    const std::string utf8 = ReadWholeFile(path + L".cwd");
    std::wstring folder(utf8.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &folder[0],
                                           static_cast<int>(folder.size()));
    folder.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return folder;
}

std::wstring WindowsExplorerStub::Path()
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\explorer.exe";
}

WindowsExplorerStub::WindowsExplorerStub()
{
    CopyFileW(WindowsPathOf(CVN_STUB_PATH).c_str(), Path().c_str(), FALSE);
    DeleteFileW(Log().c_str());
    DeleteFileW((Path() + L".cwd").c_str());
}

std::wstring WindowsExplorerStub::WorkingFolder() const
{
    return StubWorkingFolder(Path());
}

void SetInstallLocation(DWORD type, const std::wstring& text, bool withTerminator)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    // The registry adds a terminator the caller left out of the count when
    // a zero follows in memory, so an unterminated value needs a non-zero
    // character behind it.
    const std::wstring data = withTerminator ? text : text + L"X";
    const DWORD bytes = static_cast<DWORD>((text.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
    RegSetValueExW(key, L"InstallLocation", 0, type, reinterpret_cast<const BYTE*>(data.c_str()), bytes);
    RegCloseKey(key);
}

void DeleteUninstallKey()
{
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, view, 0);
    }
}

bool UninstallKeyExists(REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_READ | view, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}
