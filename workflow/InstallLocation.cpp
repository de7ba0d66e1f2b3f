#include "workflow/InstallLocation.h"

#include "Profile.h"

bool DecodeInstallLocation(std::uint32_t type, const std::uint8_t* data, std::size_t byteCount,
                           std::u16string& text)
{
    if (type != kRegistryString && type != kRegistryExpandString) {
        return false;
    }
    if (byteCount % 2 != 0 || byteCount > kInstallLocationBufferChars * 2) {
        return false;
    }
    const std::size_t count = byteCount / 2;
    std::u16string chars(count, u'\0');
    for (std::size_t i = 0; i < count; ++i) {
        chars[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    if (count != 0 && chars[count - 1] != u'\0') {
        return false;
    }
    const std::size_t end = chars.find(u'\0');
    text = chars.substr(0, end == std::u16string::npos ? count : end);
    return true;
}

bool InstalledFolder(std::uint32_t type, const std::uint8_t* data, std::size_t byteCount, std::u16string& folder)
{
    std::u16string text;
    if (!DecodeInstallLocation(type, data, byteCount, text) || (!text.empty() && !IsAbsoluteFolder(text))) {
        return false;
    }
    folder = text;
    return true;
}

std::wstring SuiteFolder(const std::wstring& recorded, const std::wstring& programFiles)
{
    if (!recorded.empty() || programFiles.empty()) {
        return recorded;
    }
    return programFiles + CVN_SUITE_DEFAULT_FOLDER;
}

std::wstring SuiteExecutable(const std::wstring& folder)
{
    return folder + L"\\" CVN_SUITE_EXECUTABLE;
}
