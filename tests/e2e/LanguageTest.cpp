#include "E2E.h"
#include "ExpectedLook.h"
#include "app/LocaleTable.h"
#include "framework/ScopedHandles.h"
#include "skin/MessageDialogs.h"
#include "workflow/MessageText.h"

namespace {

// MessageAreaMatches, polled for a while: a dialog that has painted may
// reach the screen a moment later, and until then the screen can still
// show the notice that was open in the same place.
bool MessageAreaShows(HWND dialog, bool notice, const std::wstring& text)
{
    return WaitUntil([&] { return MessageAreaMatches(dialog, notice, text); }, 2000);
}

std::wstring Text(UINT id, LANGID language)
{
    std::wstring text;
    FindStringInLanguage(GetModuleHandleW(nullptr), id, language, text);
    return text;
}

class LanguageTest : public LauncherTest {
protected:
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\CVNAI.exe");
        LauncherTest::TearDown();
    }
    // Makes the launcher (only) see major version 5.
    void PretendWindowsXp()
    {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\CVNAI.exe", 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr);
        const wchar_t version[] = L"winxp";
        RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof(version));
        RegCloseKey(key);
    }
};

// The tests for one locale run in the CTest entry that sets it.
#define REQUIRE_LOCALE(lcid)                                                                                      \
    if (GetThreadLocale() != (lcid)) {                                                                            \
        GTEST_SKIP() << "runs in the CTest entry for locale " << (lcid);                                          \
    }

std::string Decimal(LCID lcid)
{
    return std::to_string(static_cast<unsigned long>(lcid));
}

}  // namespace

TEST_F(LanguageTest, FrenchLocaleGetsTheFrenchQuestion)
{
    REQUIRE_LOCALE(1036);
    LauncherRun run(disc.Launcher());
    HWND question = run.WaitForDialog();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(MessageAreaShows(question, false, Text(5001, 1036)));
    EXPECT_FALSE(MessageAreaShows(question, false, Text(5001, 1033))) << "the comparison tells languages apart";
    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(run.WaitForExit());
    const std::vector<std::string> lines = run.WorkflowLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"[RZ_K] Run CheckCDFS", "[RZ_K] g_LocalPCLang : 1036", "[RZ_K] Lang OK!",
                                        "[RZ_K] OS Version : 6", "[RZ_K] VISTA - SetThreadUILanguage :  1036"}));
}

TEST_F(LanguageTest, SwedishLocaleShowsTheEnglishNoticeBeforeDetection)
{
    REQUIRE_LOCALE(1053);
    LauncherRun run(disc.Launcher());
    HWND notice = run.WaitForDialog();
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(Contains(run.Lines(), "[RZ_K] Start. Action!.")) << "the notice comes before the workflow";
    EXPECT_TRUE(MessageAreaShows(notice, true, Text(5003, 1033)));
    ClickButton(notice, IDOK);
    ASSERT_TRUE(run.WaitForDialogGone(notice));
    HWND question = run.WaitForDialog();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(MessageAreaShows(question, false, Text(5001, 1033))) << "English after the notice";
    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.Result().exitCode, 0u);
    const std::vector<std::string> lines = run.WorkflowLines();
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + 8),
        (std::vector<std::string>{"[RZ_K] Run CheckCDFS", "[RZ_K] g_LocalPCLang : 1053", "[RZ_K] OS Version : 6",
                                  "[RZ_K] VISTA - SetThreadUILanguage :  Default", "[RZ_K] CAFXOKBIG SET",
                                  "[RZ_K] CASFXYESNO SET", "[RZ_K] Start. Action!.", "[RZ_K] CheckCVN(+)"}));
}

TEST_F(LanguageTest, GermanOnMajorVersionFiveSetsTheThreadLocale)
{
    REQUIRE_LOCALE(1031);
    PretendWindowsXp();
    LauncherRun run(disc.Launcher());
    HWND question = run.WaitForDialog();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(MessageAreaShows(question, false, Text(5001, 1031)));
    ClickButton(question, IDCANCEL);
    ASSERT_TRUE(run.WaitForExit());
    const std::vector<std::string> lines = run.WorkflowLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + 6),
        (std::vector<std::string>{"[RZ_K] Run CheckCDFS", "[RZ_K] g_LocalPCLang : 1031", "[RZ_K] Lang OK!",
                                  "[RZ_K] OS Version : 5", "[RZ_K] CAFXOKBIG SET", "[RZ_K] CASFXYESNO SET"}));
}

// Whatever this run's locale is: supported ones speak their language,
// others get the English notice first.
TEST_F(LanguageTest, LocaleOfThisRun)
{
    const LCID locale = GetThreadLocale();
    const bool supported = IsSupportedLocale(locale);
    LauncherRun run(disc.Launcher());
    HWND first = run.WaitForDialog();
    ASSERT_NE(first, nullptr);
    RECT client;
    GetClientRect(first, &client);
    if (!supported) {
        EXPECT_EQ(client.right, 401) << "the unsupported-language notice comes first";
        EXPECT_TRUE(MessageAreaShows(first, true, Text(5003, 1033)));
        ClickButton(first, IDOK);
        run.WaitForDialogGone(first);
        first = run.WaitForDialog();
        ASSERT_NE(first, nullptr);
    }
    const LANGID language = supported ? LANGIDFROMLCID(locale) : 1033;
    EXPECT_TRUE(MessageAreaShows(first, false, Text(5001, language))) << "question in " << language;
    ClickButton(first, IDCANCEL);
    ASSERT_TRUE(run.WaitForExit());
    const std::vector<std::string> lines = run.Lines();
    EXPECT_TRUE(Contains(lines, "[RZ_K] g_LocalPCLang : " + Decimal(locale)));
    EXPECT_EQ(Contains(lines, "[RZ_K] Lang OK!"), supported);
    EXPECT_TRUE(Contains(lines, "[RZ_K] VISTA - SetThreadUILanguage :  " +
                                    (supported ? Decimal(LANGIDFROMLCID(locale)) : std::string("Default"))));
}
