// The dialogs at 150 % and 200 %: Wine gives a process started while
// "LogPixels" is set that many dots per inch.
#include "E2E.h"
#include "ExpectedLook.h"
#include "framework/ScopedHandles.h"
#include "workflow/MessageText.h"

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

class DisplayScaleTest : public LauncherTest {
protected:
    void SetDpi(DWORD dpi)
    {
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    }
    void TearDown() override
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
        LauncherTest::TearDown();
    }
};

std::wstring Text(UINT id)
{
    std::wstring text;
    FindStringInLanguage(GetModuleHandleW(nullptr), id, 1033, text);
    return text;
}

// Checks what the dialog shows at `dpi`, then clicks the button `answer`
// at its scaled place, as the mouse would.
void CheckScaledDialog(HWND dialog, bool notice, int dpi, int answer)
{
    SCOPED_TRACE(std::to_string(dpi) + (notice ? " dpi, notice" : " dpi, question"));
    RECT client{};
    GetClientRect(dialog, &client);
    const int w = ScaledPx(notice ? 401 : 264, dpi);
    const int h = ScaledPx(156, dpi);
    EXPECT_EQ(client.right, w);
    EXPECT_EQ(client.bottom, h);
    EXPECT_TRUE(
        WaitUntil([&] { return MessageAreaMatches(dialog, notice, Text(notice ? 5000 : 5001), dpi); }, 3000))
        << "title and message drawn at the scale";

    struct Button {
        int id;
        RECT at96;
    };
    const Button buttons[] = {{IDOK, notice ? RECT{164, 115, 247, 138} : RECT{38, 102, 121, 125}},
                              {IDCANCEL, RECT{141, 102, 224, 125}}};
    for (const Button& button : buttons) {
        if (notice && button.id == IDCANCEL) continue;
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, button.id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const RECT expected = ScaledRect(button.at96, dpi);
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  (std::vector<LONG>{expected.left, expected.top, ScaledPx(83, dpi), ScaledPx(23, dpi)}))
            << "button " << button.id;
    }

    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(dialog, region.Get()), ERROR);
    const int in = ScaledPx(4, dpi);
    // (1, 1) and its mirrors lie inside the 96-dot circle but outside the
    // scaled one: the corners are cut at the scale.
    for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}, POINT{1, 1},
                         POINT{w - 1, 1}, POINT{1, h - 1}, POINT{w - 1, h - 1}}) {
        EXPECT_FALSE(PtInRegion(region.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
    }
    for (POINT inside :
         {POINT{in, in}, POINT{w - 1 - in, in}, POINT{in, h - 1 - in}, POINT{w - 1 - in, h - 1 - in}}) {
        EXPECT_TRUE(PtInRegion(region.Get(), inside.x, inside.y)) << inside.x << "," << inside.y;
    }

    // A click in the middle of the button's scaled place lands on it.
    const RECT place = ScaledRect(answer == IDOK ? buttons[0].at96 : buttons[1].at96, dpi);
    POINT middle = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    HWND hit = ChildWindowFromPoint(dialog, middle);
    ASSERT_EQ(hit, GetDlgItem(dialog, answer));
    MapWindowPoints(dialog, hit, &middle, 1);
    PostMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    PostMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
}

// Runs the launcher to its dialog, checks it at `dpi` and answers it by
// mouse; the trace once it has ended with exit code 0.
std::vector<std::string> RunAndCheckScaled(const TestDisc& disc, bool notice, int dpi, int answer)
{
    LauncherRun run(disc.Launcher());
    HWND dialog = run.WaitForDialog();
    EXPECT_NE(dialog, nullptr);
    if (dialog == nullptr) return {};
    CheckScaledDialog(dialog, notice, dpi, answer);
    EXPECT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.Result().exitCode, 0u);
    return run.Lines();
}

}  // namespace

TEST_F(DisplayScaleTest, BothDialogsAreDrawnAtTheDisplaysScaleAndAnswerClicks)
{
    const TempFolder installFolder(L"cvn-install-");
    disc.PlaceStub(installFolder.Path() + L"\\Corvana.exe");
    for (int dpi : {144, 192}) {
        SetDpi(static_cast<DWORD>(dpi));
        SetInstallLocation(REG_SZ, installFolder.Path());
        EXPECT_TRUE(Contains(RunAndCheckScaled(disc, true, dpi, IDOK), "[RZ_K] CVN Run OK."))
            << "OK started Corvana";
        DeleteUninstallKey();
        EXPECT_FALSE(Contains(RunAndCheckScaled(disc, false, dpi, IDCANCEL), "[RZ_K] DownloadCVN(+)"))
            << "EXIT downloads nothing";
    }
}
