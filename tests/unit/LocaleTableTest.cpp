#include <gtest/gtest.h>

#include "app/LocaleTable.h"

TEST(LocaleTable, TheTenSupportedLocales)
{
    for (std::uint32_t locale : {1033u, 2057u, 1043u, 1036u, 1031u, 1032u, 1040u, 2070u, 3082u, 1055u}) {
        EXPECT_TRUE(IsSupportedLocale(locale)) << locale;
    }
    EXPECT_EQ(sizeof(kSupportedLocales) / sizeof(kSupportedLocales[0]), 10u);
    EXPECT_EQ(kSupportedLocales[0], 1033u);
}

TEST(LocaleTable, NeighboursOfTheSupportedFamiliesAreNot)
{
    // Swedish; Spanish traditional sort; Portuguese (Brazil); English (Australia).
    for (std::uint32_t locale : {1053u, 1034u, 1046u, 3081u, 0u, 0x0407u + 0x10000u, 0x10409u}) {
        EXPECT_FALSE(IsSupportedLocale(locale)) << locale;
    }
}
