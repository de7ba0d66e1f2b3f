#pragma once
// Pure rules for the uninstall record's "InstallLocation" value, no Windows
// headers: also built natively for fuzzing.
#include <cstddef>
#include <cstdint>
#include <string>

constexpr std::uint32_t kRegistryString = 1;              // REG_SZ
constexpr std::uint32_t kRegistryExpandString = 2;        // REG_EXPAND_SZ
constexpr std::size_t kInstallLocationBufferChars = 256;  // terminator included

// The text of a value read into the 256-character buffer: false for a type
// other than REG_SZ / REG_EXPAND_SZ, an odd byte count, or a non-empty value
// whose last character is not a zero. A zero-byte value is an empty text.
// The text ends at its first zero; variables are never expanded.
bool DecodeInstallLocation(std::uint32_t type, const std::uint8_t* data, std::size_t byteCount,
                           std::u16string& text);

// A folder that names one place whatever the current folder is: drive-
// absolute ("C:\...", "C:/...") or a network path ("\\server\share...").
// The suite is started only from such a folder; a relative one would resolve
// against the launcher's working folder, the disc.
template <class Char>
bool IsAbsoluteFolder(const std::basic_string<Char>& folder)
{
    auto separator = [](Char c) { return c == static_cast<Char>('\\') || c == static_cast<Char>('/'); };
    if (folder.size() >= 2 && separator(folder[0]) && separator(folder[1])) {
        return true;
    }
    const Char letter = folder.empty() ? Char() : folder[0];
    const bool isLetter = (letter >= static_cast<Char>('A') && letter <= static_cast<Char>('Z')) ||
                          (letter >= static_cast<Char>('a') && letter <= static_cast<Char>('z'));
    return folder.size() >= 3 && isLetter && folder[1] == static_cast<Char>(':') && separator(folder[2]);
}

// CheckCVN's decision on a value read from the uninstall record: its folder
// when the suite counts as installed (the value decodes, and names an absolute
// folder or none, which stands for the default one); false otherwise.
bool InstalledFolder(std::uint32_t type, const std::uint8_t* data, std::size_t byteCount, std::u16string& folder);

// RunCVN's decisions. The folder the suite is started from: the recorded one,
// or with none recorded the default under the program-files folder (when
// that is known, else none).
std::wstring SuiteFolder(const std::wstring& recorded, const std::wstring& programFiles);
// Its executable: the folder, a backslash and the profile's executable (two
// backslashes in a row after a folder that ends in one, which Windows
// accepts).
std::wstring SuiteExecutable(const std::wstring& folder);
