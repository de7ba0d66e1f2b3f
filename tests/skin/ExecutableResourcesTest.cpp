#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "version.h"

namespace {

std::string ResourceText(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    HRSRC resource = FindResourceW(module, name, type);
    if (resource == nullptr) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, resource);
    return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, resource));
}

std::wstring VersionString(const wchar_t* file, const wchar_t* field)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &handle);
    if (size == 0) {
        return {};
    }
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file, 0, size, data.data())) {
        return {};
    }
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + field;
    if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr) {
        return {};
    }
    return value;
}

std::wstring Widen(const char* text)
{
    return std::wstring(text, text + strlen(text));
}

std::wstring DllPath()
{
    std::wstring path = CVNAI_EXE_PATH;
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"CVNImage.dll";
}

}  // namespace

TEST(ExecutableResources, ManifestRunsAsInvokerWithCommonControlsAndPerMonitorDpiAwareness)
{
    HMODULE module = LoadLibraryExW(CVNAI_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const std::string manifest = ResourceText(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    FreeLibrary(module);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
    }
    // The program's own identity names the processor it was built for.
    EXPECT_NE(manifest.find(sizeof(void*) == 8 ? "version=\"1.0.0.0\" processorArchitecture=\"amd64\""
                                               : "version=\"1.0.0.0\" processorArchitecture=\"x86\""),
              std::string::npos);
    EXPECT_NE(manifest.find("WindowsSettings\">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find("WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
}

TEST(ExecutableResources, VersionInformationOfLauncherAndImageDll)
{
    EXPECT_EQ(VersionString(CVNAI_EXE_PATH, L"ProductVersion"), Widen(CVN_VERSION_TEXT));
    EXPECT_EQ(VersionString(CVNAI_EXE_PATH, L"FileVersion"), Widen(CVN_VERSION_TEXT));
    EXPECT_EQ(VersionString(CVNAI_EXE_PATH, L"CompanyName"), L"Tarnex");
    EXPECT_EQ(VersionString(CVNAI_EXE_PATH, L"FileDescription"), L"CVN Auto Installer");
    EXPECT_EQ(VersionString(CVNAI_EXE_PATH, L"OriginalFilename"), L"CVNAI.exe");
    EXPECT_EQ(VersionString(DllPath().c_str(), L"OriginalFilename"), L"CVNImage.dll");
    EXPECT_EQ(VersionString(DllPath().c_str(), L"ProductVersion"), Widen(CVN_VERSION_TEXT));
}

TEST(ExecutableResources, ApplicationIconInThreeSizes)
{
    HMODULE module = LoadLibraryExW(CVNAI_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const std::string group = ResourceText(module, MAKEINTRESOURCEW(IDI_LAUNCHER), MAKEINTRESOURCEW(14));
    ASSERT_GE(group.size(), 6u);
    const int count = static_cast<unsigned char>(group[4]) | (static_cast<unsigned char>(group[5]) << 8);
    EXPECT_EQ(count, 3);
    HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_LAUNCHER), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) {
        DestroyIcon(icon);
    }
    FreeLibrary(module);
}
