#pragma once
// A fresh copy of the staged disc folder for one test, and the registry
// fixtures of the uninstall record. Removed again when the test ends.
#include <windows.h>

#include <string>

class TestDisc {
public:
    // In the temporary folder, or in folder `under`.
    explicit TestDisc(const std::wstring& under = std::wstring());
    ~TestDisc();
    TestDisc(const TestDisc&) = delete;
    TestDisc& operator=(const TestDisc&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    std::wstring PathOf(const std::wstring& name) const { return m_folder + L"\\" + name; }
    std::wstring Launcher() const { return PathOf(L"CVNAI.exe"); }

    void Write(const std::wstring& name, const std::string& bytes) const;
    bool Remove(const std::wstring& name) const;
    // Copies the stub program to `name` (relative to the disc folder, or
    // an absolute path) and returns the path of its log.
    std::wstring PlaceStub(const std::wstring& path) const;

private:
    std::wstring m_folder;
};

// The file manager the launcher hands the download address to: the stub
// program in place of the Windows folder's explorer.exe, which is this
// test prefix's own (Wine's desktop runs the system folder's). Its record
// of a start is cleared when made.
class WindowsExplorerStub {
public:
    WindowsExplorerStub();
    static std::wstring Path();
    std::wstring Log() const { return Path() + L".log"; }
    // The working folder of its last start, or empty.
    std::wstring WorkingFolder() const;
};

// What a stub program placed at `path` was last started in.
std::wstring StubWorkingFolder(const std::wstring& path);

// Windows path of a folder the build gives as a Unix path (Wine's Z:).
std::wstring WindowsPathOf(const std::wstring& unixPath);

// A new empty folder in the temporary folder (or in `under`); empty when none can be made.
std::wstring NewTempFolder(const wchar_t* prefix, const std::wstring& under = std::wstring());
void RemoveTree(const std::wstring& folder);

// A temporary folder removed with its contents however the test ends.
class TempFolder {
public:
    explicit TempFolder(const wchar_t* prefix) : m_path(NewTempFolder(prefix)) { }
    ~TempFolder()
    {
        if (!m_path.empty()) RemoveTree(m_path);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// A process a test starts itself, ended and closed however the test ends.
class TestProcess {
public:
    TestProcess() = default;
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;
    bool Start(std::wstring commandLine);
    HANDLE Handle() const { return m_info.hProcess; }
    DWORD Id() const { return m_info.dwProcessId; }

private:
    PROCESS_INFORMATION m_info{};
};
bool FileExists(const std::wstring& path);
std::string ReadWholeFile(const std::wstring& path);

// The uninstall record, in the registry view a 32-bit program sees.
extern const wchar_t kUninstallKeyPath[];
void SetInstallLocation(DWORD type, const std::wstring& text, bool withTerminator = true);
void DeleteUninstallKey();
bool UninstallKeyExists(REGSAM view);
