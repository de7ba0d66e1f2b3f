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
