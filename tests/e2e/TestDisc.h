#pragma once
// A fresh copy of the staged disc folder for one test, and the registry
// fixtures of the uninstall record. Removed again when the test ends.
#include <windows.h>

#include <string>

class TestDisc {
public:
    TestDisc();
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

// Windows path of a folder the build gives as a Unix path (Wine's Z:).
std::wstring WindowsPathOf(const std::wstring& unixPath);

std::wstring NewTempFolder(const wchar_t* prefix);
void RemoveTree(const std::wstring& folder);
bool FileExists(const std::wstring& path);
std::string ReadWholeFile(const std::wstring& path);

// The uninstall record, in the registry view a 32-bit program sees.
extern const wchar_t kUninstallKeyPath[];
void SetInstallLocation(DWORD type, const std::wstring& text, bool withTerminator = true);
void DeleteUninstallKey();
bool UninstallKeyExists(REGSAM view);
