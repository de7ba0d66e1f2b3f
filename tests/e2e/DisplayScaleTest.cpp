// The dialogs at 125 to 300 %: Wine gives a process started while
// "LogPixels" is set that many dots per inch.
#include <algorithm>

#include "E2E.h"
#include "ExpectedLook.h"
#include "framework/ScopedHandles.h"
#include "skin/ButtonFace.h"
#include "skin/MessageDialogs.h"
#include "workflow/MessageText.h"

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

class DisplayScaleTest : public LauncherTest {
protected:
    void SetDpi(DWORD dpi)
    {
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    }
    // Also before: a run that ended without its tear-down must not leave
    // the prefix scaled for every later test.
    void SetUp() override
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
        LauncherTest::SetUp();
    }
    void TearDown() override
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
        LauncherTest::TearDown();
    }
};

std::vector<LONG> Edges(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

std::wstring Text(UINT id)
{
    std::wstring text;
    FindStringInLanguage(GetModuleHandleW(nullptr), id, 1033, text);
    return text;
}

// The shown pixels of `area` (client coordinates) of a capture.
std::vector<COLORREF> PixelsOf(const Capture& shown, const RECT& area)
{
    std::vector<COLORREF> pixels;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            pixels.push_back(x < shown.width && y < shown.height ? shown.At(x, y) : CLR_INVALID);
        }
    }
    return pixels;
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// A face on screen at `place`: drawn 1:1 at exactly that size (the same
// pixels as the face drawn for that size here), its outline along every
// edge and its label centred.
void ExpectFaceAt(const Capture& shown, const RECT& place, const FaceStyle& style, const wchar_t* label, int dpi)
{
    const SIZE size = {place.right - place.left, place.bottom - place.top};
    SkinScale scale;
    scale.dpi = dpi;
    OwnedBitmap face(DrawButtonFace(size, style, label, scale));
    MemoryDC dc(nullptr);
    SelectedObject selected(dc.Get(), face.Get());
    std::vector<COLORREF> drawn;
    for (int y = 0; y < size.cy; ++y) {
        for (int x = 0; x < size.cx; ++x) drawn.push_back(GetPixel(dc.Get(), x, y));
    }
    EXPECT_EQ(PixelsOf(shown, place), drawn)
        << "the face drawn for " << size.cx << " x " << size.cy << ", shown 1:1";

    const int midX = place.left + size.cx / 2;
    const int midY = place.top + size.cy / 2;
    for (POINT edge : {POINT{midX, place.top}, POINT{midX, place.bottom - 1}, POINT{place.left, midY},
                       POINT{place.right - 1, midY}}) {
        EXPECT_TRUE(Near(shown.At(edge.x, edge.y), style.border, 40)) << "outline at " << edge.x << "," << edge.y;
    }
    // The label's ink: its box is centred on the face.
    RECT ink = {place.right, place.bottom, place.left, place.top};
    for (int y = place.top + 2; y < place.bottom - 2; ++y) {
        for (int x = place.left + 2; x < place.right - 2; ++x) {
            if (Near(shown.At(x, y), style.ink, 24)) {
                ink = {std::min(ink.left, static_cast<LONG>(x)), std::min(ink.top, static_cast<LONG>(y)),
                       std::max(ink.right, static_cast<LONG>(x + 1)),
                       std::max(ink.bottom, static_cast<LONG>(y + 1))};
            }
        }
    }
    ASSERT_LT(ink.left, ink.right) << "no label";
    EXPECT_LE(std::abs((ink.left + ink.right) - (place.left + place.right)), 2 * ScaledPx(2, dpi))
        << "label centred";
    EXPECT_LE(std::abs((ink.top + ink.bottom) - (place.top + place.bottom)), 2 * ScaledPx(2, dpi))
        << "label centred";
    EXPECT_GE(ink.bottom - ink.top, ScaledPx(6, dpi)) << "label at the scaled height";
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

    // Each button where its one scaled rectangle says, at that size, with
    // its face: OK has the focus.
    const SkinLayout& layout = notice ? CAFXOKBIG::kLayout : CASFXYESNO::kLayout;
    const Capture shown = CaptureClient(dialog);
    std::vector<RECT> places;
    for (const SkinButtonPlace& place : layout.buttons) {
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, static_cast<int>(place.controlId)), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const RECT expected = ScaledRect(place.Face(), dpi);
        EXPECT_EQ(Edges(r), Edges(expected)) << "button " << place.controlId;
        const bool ok = place.controlId == IDOK;
        ExpectFaceAt(shown, expected, ok ? kFaceFocused : kFaceUp, ok ? L"OK" : L"Cancel", dpi);
        places.push_back(expected);
    }

    // A repaint of the title band alone leaves every button showing its face.
    RECT band = {0, 0, w, ScaledPx(29, dpi)};
    InvalidateRect(dialog, &band, FALSE);
    WaitForPainted(dialog);
    Sleep(100);
    const Capture again = CaptureClient(dialog);
    for (const RECT& place : places) {
        EXPECT_EQ(PixelsOf(again, place), PixelsOf(shown, place)) << "every pixel of the button after the repaint";
    }

    // The band that drags it: rows 1 to 28 at 96 dots, scaled edge by edge.
    RECT window{};
    GetWindowRect(dialog, &window);
    auto hit = [&](int x, int y) {
        return SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
    };
    EXPECT_EQ(hit(w / 2, ScaledPx(1, dpi)), HTCAPTION) << "first row of the band";
    EXPECT_EQ(hit(w / 2, ScaledPx(29, dpi) - 1), HTCAPTION) << "last row of the band";
    EXPECT_EQ(hit(w / 2, ScaledPx(29, dpi)), HTCLIENT) << "first row below the band";
    EXPECT_EQ(hit(w / 2, ScaledPx(1, dpi) - 1), HTCLIENT) << "above the band";

    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(dialog, region.Get()), ERROR);
    const int in = ScaledPx(4, dpi);
    std::vector<POINT> cut = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
    if (dpi >= 144) {
        // (1, 1) and its mirrors lie inside the 96-dot circle but outside
        // one of 150 % and more: the corners are cut at the scale. The right
        // and bottom corners are laid on a box one pixel larger, so
        // (w - 1, h - 1) is both a corner and a mirror.
        cut.insert(cut.end(), {{1, 1}, {w - 1, 1}, {1, h - 1}});
    }
    for (POINT corner : cut) {
        EXPECT_FALSE(PtInRegion(region.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
    }
    for (POINT inside :
         {POINT{in, in}, POINT{w - 1 - in, in}, POINT{in, h - 1 - in}, POINT{w - 1 - in, h - 1 - in}}) {
        EXPECT_TRUE(PtInRegion(region.Get(), inside.x, inside.y)) << inside.x << "," << inside.y;
    }

    // A click in the middle of the button's scaled place lands on it.
    const RECT place = places[answer == IDOK ? 0 : 1];
    POINT middle = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    HWND target = ChildWindowFromPoint(dialog, middle);
    ASSERT_EQ(target, GetDlgItem(dialog, answer));
    MapWindowPoints(dialog, target, &middle, 1);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
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
    for (int dpi : {120, 144, 168, 192, 240, 288}) {
        SetDpi(static_cast<DWORD>(dpi));
        SetInstallLocation(REG_SZ, installFolder.Path());
        EXPECT_TRUE(Contains(RunAndCheckScaled(disc, true, dpi, IDOK), "[RZ_K] CVN Run OK."))
            << "OK started Corvana";
        DeleteUninstallKey();
        EXPECT_FALSE(Contains(RunAndCheckScaled(disc, false, dpi, IDCANCEL), "[RZ_K] DownloadCVN(+)"))
            << "EXIT downloads nothing";
    }
}
