#include <gtest/gtest.h>

#include <vector>

#include "workflow/InstallLocation.h"

namespace {
std::vector<std::uint8_t> Bytes(const std::u16string& text, bool terminator = true)
{
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminator) {
        bytes.push_back(0);
        bytes.push_back(0);
    }
    return bytes;
}
}  // namespace

TEST(InstallLocation, StringTypesAreUsedAsStored)
{
    std::u16string text;
    auto data = Bytes(u"C:\\Program Files\\Tarnex\\Corvana");
    ASSERT_TRUE(DecodeInstallLocation(kRegistryString, data.data(), data.size(), text));
    EXPECT_EQ(text, u"C:\\Program Files\\Tarnex\\Corvana");

    data = Bytes(u"%ProgramFiles%\\Tarnex");
    ASSERT_TRUE(DecodeInstallLocation(kRegistryExpandString, data.data(), data.size(), text));
    EXPECT_EQ(text, u"%ProgramFiles%\\Tarnex");
}

TEST(InstallLocation, OtherTypesFail)
{
    std::u16string text = u"kept";
    auto data = Bytes(u"C:\\x");
    for (std::uint32_t type : {0u, 3u, 4u, 7u, 11u}) {
        EXPECT_FALSE(DecodeInstallLocation(type, data.data(), data.size(), text)) << type;
    }
    EXPECT_EQ(text, u"kept");
}

TEST(InstallLocation, OddByteCountAndMissingTerminatorFail)
{
    std::u16string text;
    auto data = Bytes(u"C:\\x");
    EXPECT_FALSE(DecodeInstallLocation(kRegistryString, data.data(), data.size() - 1, text));
    auto unterminated = Bytes(u"C:\\x", false);
    EXPECT_FALSE(DecodeInstallLocation(kRegistryString, unterminated.data(), unterminated.size(), text));
}

TEST(InstallLocation, EmptyValues)
{
    std::u16string text = u"old";
    EXPECT_TRUE(DecodeInstallLocation(kRegistryString, nullptr, 0, text));
    EXPECT_EQ(text, u"");
    auto justTerminator = Bytes(u"");
    text = u"old";
    EXPECT_TRUE(DecodeInstallLocation(kRegistryString, justTerminator.data(), justTerminator.size(), text));
    EXPECT_EQ(text, u"");
}

TEST(InstallLocation, TextEndsAtTheFirstZero)
{
    std::u16string text;
    auto data = Bytes(std::u16string(u"C:\\a\0junk", 9));
    ASSERT_TRUE(DecodeInstallLocation(kRegistryString, data.data(), data.size(), text));
    EXPECT_EQ(text, u"C:\\a");
}

TEST(InstallLocation, BufferLimit)
{
    std::u16string text;
    auto fits = Bytes(std::u16string(255, u'x'));
    ASSERT_EQ(fits.size(), 512u);
    EXPECT_TRUE(DecodeInstallLocation(kRegistryString, fits.data(), fits.size(), text));
    EXPECT_EQ(text.size(), 255u);
    auto tooLong = Bytes(std::u16string(256, u'x'));
    EXPECT_FALSE(DecodeInstallLocation(kRegistryString, tooLong.data(), tooLong.size(), text));
    auto fullWithoutTerminator = Bytes(std::u16string(256, u'x'), false);
    EXPECT_FALSE(
        DecodeInstallLocation(kRegistryString, fullWithoutTerminator.data(), fullWithoutTerminator.size(), text));
}

TEST(InstallLocation, OnlyAbsoluteFoldersAreStartedFrom)
{
    for (const char16_t* absolute : {u"C:\\Program Files\\Corvana", u"c:/x", u"Z:\\", u"\\\\server\\share",
                                     u"\\\\?\\C:\\x", u"//server/share"}) {
        EXPECT_TRUE(IsAbsoluteFolder(std::u16string(absolute)));
    }
    for (const char16_t* relative : {u"", u"Corvana", u".\\Corvana", u"..\\x", u"\\Program Files", u"C:",
                                     u"C:Corvana", u"1:\\x", u"%ProgramFiles%\\Tarnex"}) {
        EXPECT_FALSE(IsAbsoluteFolder(std::u16string(relative)));
    }
    EXPECT_TRUE(IsAbsoluteFolder(std::wstring(L"D:\\Corvana")));
}

TEST(InstallLocation, InstalledMeansADecodedAbsoluteOrEmptyFolder)
{
    std::u16string folder = u"untouched";
    auto data = Bytes(u"C:\\Corvana");
    ASSERT_TRUE(InstalledFolder(kRegistryString, data.data(), data.size(), folder));
    EXPECT_EQ(folder, u"C:\\Corvana");
    data = Bytes(u"");
    ASSERT_TRUE(InstalledFolder(kRegistryExpandString, data.data(), data.size(), folder));
    EXPECT_EQ(folder, u"") << "the default folder";
    folder = u"untouched";
    data = Bytes(u"Corvana");
    EXPECT_FALSE(InstalledFolder(kRegistryString, data.data(), data.size(), folder)) << "relative";
    data = Bytes(u"C:\\Corvana", false);
    EXPECT_FALSE(InstalledFolder(kRegistryString, data.data(), data.size(), folder)) << "unterminated";
    EXPECT_FALSE(InstalledFolder(4, data.data(), data.size(), folder)) << "a number";
    EXPECT_EQ(folder, u"untouched");
}

TEST(InstallLocation, CorvanaStartsFromTheRecordedOrTheDefaultFolder)
{
    EXPECT_EQ(SuiteFolder(L"D:\\Corvana", L"C:\\Program Files"), L"D:\\Corvana");
    EXPECT_EQ(SuiteFolder(L"", L"C:\\Program Files"), L"C:\\Program Files\\Tarnex\\Tarnex Corvana\\");
    EXPECT_EQ(SuiteFolder(L"", L""), L"") << "no program-files folder: none";
    EXPECT_EQ(SuiteExecutable(L"D:\\Corvana"), L"D:\\Corvana\\Corvana.exe");
    EXPECT_EQ(SuiteExecutable(L"C:\\P\\Tarnex Corvana\\"), L"C:\\P\\Tarnex Corvana\\\\Corvana.exe");
}
