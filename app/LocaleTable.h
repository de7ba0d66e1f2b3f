#pragma once
// Pure rule, no Windows headers: also built natively for fuzzing.
#include <cstddef>
#include <cstdint>

// The locales with texts of their own, in the order they are tested.
constexpr std::uint32_t kSupportedLocales[] = {
    1033,  // English (United States)
    2057,  // English (United Kingdom)
    1043,  // Dutch (Netherlands)
    1036,  // French (France)
    1031,  // German (Germany)
    1032,  // Greek (Greece)
    1040,  // Italian (Italy)
    2070,  // Portuguese (Portugal)
    3082,  // Spanish (Spain, modern sort)
    1055,  // Turkish (Turkey)
};

constexpr std::uint32_t kFallbackLocale = 1033;

// The whole identifier must match: a non-default sort order (bits above
// the low 16) makes a locale unsupported.
constexpr bool IsSupportedLocale(std::uint32_t locale)
{
    for (std::uint32_t supported : kSupportedLocales) {
        if (supported == locale) {
            return true;
        }
    }
    return false;
}
