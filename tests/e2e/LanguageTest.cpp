#include "E2E.h"
#include "app/LocaleTable.h"
#include "framework/ScopedHandles.h"
#include "imagelib/ximage.h"
#include "res/resource.h"
#include "skin/MessageDialogs.h"
#include "workflow/MessageText.h"

namespace {

// The dialog as it is specified to look, drawn here and not by the
// launcher's paint code, so that a wrong font, weight, colour, rectangle or
// flag in that code shows: the background image, the title in white bold
// 15-pixel Arial left-aligned in (10, 8, 250, 30), the message in
// RGB(89, 69, 28) 16-pixel Arial centred in its rectangle, both wrapped at
// words over a transparent background.
void DrawSpecifiedDialog(HDC target, bool notice, const std::wstring& title, const std::wstring& message,
                         const RECT& messageRect)
{
    CxImage image(CXIMAGE_FORMAT_UNKNOWN);
    const UINT backgroundId = notice ? IDB_NOTICE_BACKGROUND : IDB_QUESTION_BACKGROUND;
    image.LoadResource(FindResourceW(nullptr, MAKEINTRESOURCEW(backgroundId), L"PNG"), CXIMAGE_FORMAT_PNG,
                       nullptr);
    {
        OwnedBitmap background(image.MakeBitmap(nullptr));
        MemoryDC source(target);
        SelectedObject selected(source.Get(), background.Get());
        BitBlt(target, 0, 0, notice ? 401 : 264, 156, source.Get(), 0, 0, SRCCOPY);
    }
    SetBkMode(target, TRANSPARENT);
    auto arial = [](int height, int weight) {
        return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                           CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Arial");
    };
    OwnedFont titleFont(arial(15, FW_BOLD));
    OwnedFont messageFont(arial(16, FW_NORMAL));
    SelectedObject selected(target, titleFont.Get());
    SetTextColor(target, RGB(255, 255, 255));
    RECT titleRect = {10, 8, 250, 30};
    DrawTextW(target, title.c_str(), static_cast<int>(title.size()), &titleRect, DT_WORDBREAK);
    SelectObject(target, messageFont.Get());
    SetTextColor(target, RGB(89, 69, 28));
    RECT rect = messageRect;
    DrawTextW(target, message.c_str(), static_cast<int>(message.size()), &rect, DT_CENTER | DT_WORDBREAK);
}

// The title and message areas of a dialog on screen, pixel for pixel
// against the specified drawing with the given message.
bool MessageAreaMatches(HWND dialog, bool notice, const std::wstring& text)
{
    const Capture shown = CaptureClient(dialog);
    const int w = notice ? 401 : 264;
    const RECT messageRect = notice ? RECT{50, 52, 350, 100} : RECT{26, 42, 241, 90};
    if (shown.width != w || shown.height != 156) {
        return false;
    }
    ClientDC screen(nullptr);
    MemoryDC target(screen.Get());
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), w, 156));
    SelectedObject selected(target.Get(), bitmap.Get());
    DrawSpecifiedDialog(target.Get(), notice, kMessageTitle, text, messageRect);
    for (const RECT& area : {RECT{10, 8, 250, 30}, messageRect}) {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (GetPixel(target.Get(), x, y) != shown.At(x, y)) {
                    return false;
                }
            }
        }
    }
    return true;
}

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
