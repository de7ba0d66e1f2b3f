#include <gtest/gtest.h>

#include <string>

#include "workflow/LinkFile.h"

namespace {
std::string Link(const std::string& fileBytes, bool* found = nullptr)
{
    std::string link = "<untouched>";
    const bool ok = ExtractDownloadLink(FirstTextLine(fileBytes), link);
    if (found != nullptr) {
        *found = ok;
    }
    return ok ? link : "<no marker>";
}
}  // namespace

TEST(LinkFile, FirstLineEndsAtLineFeedAndDropsTheCarriageReturnBeforeIt)
{
    EXPECT_EQ(FirstTextLine("abc\r\ndef"), "abc");
    EXPECT_EQ(FirstTextLine("abc\ndef"), "abc");
    EXPECT_EQ(FirstTextLine("abc"), "abc");
    EXPECT_EQ(FirstTextLine(""), "");
    EXPECT_EQ(FirstTextLine("\nabc"), "");
}

TEST(LinkFile, LoneCarriageReturnsStayInTheLine)
{
    EXPECT_EQ(FirstTextLine("a\rb\r\n"), "a\rb");
    EXPECT_EQ(FirstTextLine("a\r\rb\n"), "a\r\rb");
    EXPECT_EQ(FirstTextLine("a\r\r\nb"), "a\r");
    EXPECT_EQ(FirstTextLine("ab\r"), "ab\r");
}

TEST(LinkFile, CtrlZEndsTheFile)
{
    EXPECT_EQ(FirstTextLine("ab\x1A"
                            "cd\n"),
              "ab");
    EXPECT_EQ(FirstTextLine("ab\r\x1A\n"), "ab\r");
    EXPECT_EQ(FirstTextLine("\x1A"), "");
}

TEST(LinkFile, ReaderFedInPiecesGivesTheSameLine)
{
    const std::string file = "[CVN_DOWNLOAD_LINK]=http://x/y\r\nsecond line\n";
    for (std::size_t split = 0; split <= file.size(); ++split) {
        FirstLineReader reader;
        if (reader.Feed(file.data(), split)) {
            reader.Feed(file.data() + split, file.size() - split);
        }
        EXPECT_EQ(reader.Line(), "[CVN_DOWNLOAD_LINK]=http://x/y") << "split at " << split;
    }
    // A CR at the end of one piece with the LF at the start of the next.
    FirstLineReader reader;
    EXPECT_TRUE(reader.Feed("ab\r", 3));
    EXPECT_FALSE(reader.Feed("\ncd", 3));
    EXPECT_EQ(reader.Line(), "ab");
}

TEST(LinkFile, MarkerIsRemovedAndTheRestJoined)
{
    EXPECT_EQ(Link("[CVN_DOWNLOAD_LINK]=http://example.test/setup.exe\r\n"), "http://example.test/setup.exe");
    EXPECT_EQ(Link("before[CVN_DOWNLOAD_LINK]=after"), "beforeafter");
    EXPECT_EQ(Link(" [CVN_DOWNLOAD_LINK]= spaced "), "  spaced ");
    EXPECT_EQ(Link("[CVN_DOWNLOAD_LINK]="), "");
    EXPECT_EQ(Link("a[CVN_DOWNLOAD_LINK]=b[CVN_DOWNLOAD_LINK]=c"), "abc");
}

TEST(LinkFile, MarkerFormedByRemovalIsKept)
{
    // One pass: the halves around the inner marker join into a new marker.
    EXPECT_EQ(Link("[CVN_DOWNLOAD[CVN_DOWNLOAD_LINK]=_LINK]=x"), "[CVN_DOWNLOAD_LINK]=x");
}

TEST(LinkFile, MarkerMissingFromTheFirstLine)
{
    bool found = true;
    Link("http://example.test/\n[CVN_DOWNLOAD_LINK]=http://x", &found);
    EXPECT_FALSE(found);
    Link("[CVN_DOWNLOAD_LINK]\n", &found);
    EXPECT_FALSE(found);
    Link("[cvn_download_link]=x", &found);
    EXPECT_FALSE(found);
    Link("", &found);
    EXPECT_FALSE(found);
}

TEST(LinkFile, Utf16TextHasNoMarker)
{
    const std::u16string wide = u"\uFEFF[CVN_DOWNLOAD_LINK]=http://x\r\n";
    const std::string bytes(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    bool found = true;
    Link(bytes, &found);
    EXPECT_FALSE(found);
}

TEST(LinkFile, BinaryBytesAreKeptOneCharacterEach)
{
    const std::string file = std::string("[CVN_DOWNLOAD_LINK]=\x01\xff\x80", 23) + std::string(1, '\0') + "z\n";
    EXPECT_EQ(Link(file), std::string("\x01\xff\x80", 3) + std::string(1, '\0') + "z");
}

TEST(LinkFile, FirstLineLongerThan64KiBIsTooLong)
{
    const std::string fits(kMaxFirstLineBytes, 'a');
    FirstLineReader reader;
    reader.Feed((fits + "\r\nmore").data(), fits.size() + 6);
    EXPECT_FALSE(reader.TooLong());
    EXPECT_EQ(reader.Line(), fits);

    FirstLineReader longer;
    EXPECT_FALSE(longer.Feed((fits + "b").data(), fits.size() + 1)) << "no need to read on";
    EXPECT_TRUE(longer.TooLong());
    EXPECT_EQ(longer.Line().size(), kMaxFirstLineBytes);

    FirstLineReader crAfterTheLimit;  // a lone CR is part of the line
    crAfterTheLimit.Feed((fits + "\rx").data(), fits.size() + 2);
    EXPECT_TRUE(crAfterTheLimit.TooLong());
}

TEST(LinkFile, OnlyWebAddressesAreOpened)
{
    const auto address = [](const std::string& link) {
        std::string result = "<untouched>";
        return WebAddressFromLink(link, result) ? result : std::string("<refused>");
    };
    EXPECT_EQ(address("https://example.test/Setup.exe"), "https://example.test/Setup.exe");
    EXPECT_EQ(address(" \t HTTP://Example.test/a?b=c#d \r\t"), "HTTP://Example.test/a?b=c#d");
    EXPECT_EQ(address("hTtPs://user@host:8080/x"), "hTtPs://user@host:8080/x");
    const std::string longest = "https://a.test/" + std::string(kMaxWebAddressBytes - 15, 'x');
    EXPECT_EQ(address(" " + longest + " "), longest);
    for (const std::string& refused :
         {longest + "x", std::string("https://h/\\"), std::string("https://h\\x/y")}) {
        EXPECT_EQ(address(refused), "<refused>") << refused;
    }
    for (const char* refused : {"",
                                " \t\r",
                                "C:\\Windows\\System32\\cmd.exe",
                                "\\\\host\\share\\x",
                                "file:///C:/x",
                                "ms-msdt:/id x",
                                "/root,C:\\",
                                "/select,C:\\x",
                                "https://",
                                "https:///x",
                                "https://\\\\host",
                                "https://?x",
                                "http:/x",
                                "https://a b",
                                "https://a\"b",
                                "https://a\tb",
                                "https://a\x7F",
                                "https://caf\xC3\xA9",
                                "see:https://a",
                                "ftp://a",
                                "httpx://a"}) {
        EXPECT_EQ(address(refused), "<refused>") << refused;
    }
}

TEST(LinkFile, DownloadAddressNeedsTheMarkerAWebAddressAndALineThatFits)
{
    const auto fromFile = [](const std::string& bytes) {
        FirstLineReader reader;
        reader.Feed(bytes.data(), bytes.size());
        std::string address = "<untouched>";
        return DownloadAddressFromFirstLine(reader, address) ? address : std::string("<wrong file>");
    };
    EXPECT_EQ(fromFile("[CVN_DOWNLOAD_LINK]=https://a.test/x\r\n"), "https://a.test/x");
    EXPECT_EQ(fromFile("https://a.test/x\r\n"), "<wrong file>");
    EXPECT_EQ(fromFile("[CVN_DOWNLOAD_LINK]=\r\n"), "<wrong file>");
    EXPECT_EQ(fromFile("[CVN_DOWNLOAD_LINK]=https://a.test/" + std::string(kMaxFirstLineBytes, 'x')),
              "<wrong file>");
}

TEST(LinkFile, FileManagerIsTheWindowsFoldersStartedThereWithTheAddressQuoted)
{
    const FileManagerStart start = FileManagerFor(L"C:\\Windows", "https://a.test/x?y=1");
    EXPECT_EQ(start.program, L"C:\\Windows\\explorer.exe");
    EXPECT_EQ(start.parameters, L"\"https://a.test/x?y=1\"");
    EXPECT_EQ(start.folder, L"C:\\Windows");
}
