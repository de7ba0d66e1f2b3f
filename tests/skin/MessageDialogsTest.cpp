#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include <cstdint>
#include <cwchar>

#include "app/LocaleTable.h"
#include "framework/App.h"
#include "framework/MessageMap.h"
#include "DialogControl.h"
#include "framework/ScopedHandles.h"
#include "skin/ButtonFace.h"
#include "skin/MessageDialogs.h"
#include "skin/SkinHelpers.h"
#include "workflow/MessageText.h"

namespace {

struct Snapshot {
    bool seen = false;
    RECT client{};
    RECT window{};
    std::vector<RECT> buttons;  // client coordinates, by control id 1, 2
    bool topmost = false;
    Capture shown;                // the client area once painted
    Capture afterPartialRepaint;  // and after its lower half was repainted

    COLORREF At(int x, int y, bool afterRepaint = false) const
    {
        return (afterRepaint ? afterPartialRepaint : shown).At(x, y);
    }
};

// Runs `dialog` modally, records what it shows once painted and again
// after a partial repaint, then does `act` to it, step by step.
INT_PTR RunAndProbe(CDialog& dialog, Snapshot& snapshot, std::vector<DialogStep> act)
{
    std::vector<DialogStep> steps;
    steps.push_back([&snapshot](HWND window) {
        snapshot.seen = true;
        GetClientRect(window, &snapshot.client);
        GetWindowRect(window, &snapshot.window);
        for (int id : {IDOK, IDCANCEL}) {
            HWND button = GetDlgItem(window, id);
            RECT r{};
            if (button != nullptr) {
                GetWindowRect(button, &r);
                MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            }
            snapshot.buttons.push_back(r);
        }
        snapshot.topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        snapshot.shown = CaptureClient(window);
        // A partial repaint of the lower half still redraws everything.
        RECT lower = {0, 100, snapshot.client.right, snapshot.client.bottom};
        InvalidateRect(window, &lower, FALSE);
    });
    steps.push_back([&snapshot](HWND window) { snapshot.afterPartialRepaint = CaptureClient(window); });
    for (DialogStep& step : act) {
        steps.push_back(std::move(step));
    }
    return RunModalWithSteps([&dialog] { return dialog.DoModal(); }, std::move(steps));
}

INT_PTR RunAndProbe(CDialog& dialog, Snapshot& snapshot, const DialogStep& act)
{
    return RunAndProbe(dialog, snapshot, std::vector<DialogStep>{act});
}

bool Near(COLORREF c, int r, int g, int b, int tolerance)
{
    return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
           std::abs(GetBValue(c) - b) <= tolerance;
}

int CountIn(const Snapshot& s, const RECT& area, const std::function<bool(COLORREF)>& match, bool after = false)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += match(s.At(x, y, after)) ? 1 : 0;
        }
    }
    return count;
}

bool BitmapMatchesAt(const Snapshot& s, const wchar_t* bitmapName, POINT at, bool after)
{
    OwnedBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), bitmapName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    MemoryDC dc(nullptr);
    SelectedObject selected(dc.Get(), bitmap.Get());
    for (int y = 0; y < 23; y += 2) {
        for (int x = 0; x < 83; x += 3) {
            if (s.At(at.x + x, at.y + y, after) != GetPixel(dc.Get(), x, y)) {
                return false;
            }
        }
    }
    return true;
}

const wchar_t kTitle[] = L"CVN Auto Installer";

// A rectangle's edges, left, top, right, bottom, for comparing at once.
std::vector<LONG> Edges(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

TEST(Notice, GeometryPaintingAndOk)
{
    CAFXOKBIG notice(nullptr, kTitle, L"Corvana is installed.\r\nStart Corvana.");
    Snapshot s;
    const INT_PTR result = RunAndProbe(notice, s, [](HWND w) { ClickButton(w, IDOK); });
    ASSERT_TRUE(s.seen);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(notice.Title().empty()) << "OK empties the texts";
    EXPECT_TRUE(notice.Message().empty());

    EXPECT_EQ(s.client.right, 401);
    EXPECT_EQ(s.client.bottom, 156);
    EXPECT_EQ(s.window.right - s.window.left, 401) << "no border";
    EXPECT_EQ(Edges(s.buttons[0]), (std::vector<LONG>{164, 115, 247, 138}));
    EXPECT_TRUE(s.topmost);

    // Centred on the work area.
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((s.window.left + s.window.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((s.window.top + s.window.bottom) / 2, (work.top + work.bottom) / 2, 1);

    const COLORREF band = s.At(380, 14);
    EXPECT_GT(GetBValue(band), GetRValue(band) + 40) << "dark blue title band";
    EXPECT_GT(CountIn(s, {10, 8, 250, 30}, [](COLORREF c) { return c == RGB(255, 255, 255); }), 30)
        << "white title text";
    EXPECT_GT(CountIn(s, {50, 52, 350, 100}, [](COLORREF c) { return Near(c, 89, 69, 28, 12); }), 60)
        << "message text in its colour";
    EXPECT_EQ(CountIn(s, {0, 100, 401, 115}, [](COLORREF c) { return Near(c, 89, 69, 28, 12); }), 0)
        << "nothing below the message rectangle";
    EXPECT_TRUE(BitmapMatchesAt(s, L"OKF", {164, 115}, false) || BitmapMatchesAt(s, L"OKU", {164, 115}, false));
    EXPECT_TRUE(BitmapMatchesAt(s, L"OKF", {164, 115}, true) || BitmapMatchesAt(s, L"OKU", {164, 115}, true))
        << "the button draws itself again after a partial repaint";
    EXPECT_EQ(s.At(380, 14, true), band) << "the whole area is redrawn";
}

TEST(Notice, EscapeCancelsAndKeepsTheTexts)
{
    CAFXOKBIG notice(nullptr, kTitle, L"message");
    Snapshot s;
    const INT_PTR result = RunAndProbe(notice, s, [](HWND w) { PressEscape(w); });
    ASSERT_TRUE(s.seen);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(notice.Title(), kTitle);
    EXPECT_EQ(notice.Message(), L"message");
}

TEST(Notice, EmptyTextsCloseAtOnceWithoutShowing)
{
    CAFXOKBIG notice(nullptr, L"", L"");
    Snapshot s;
    const INT_PTR result = RunAndProbe(notice, s, [](HWND w) { ClickButton(w, IDOK); });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(s.seen);
}

TEST(Notice, MovedToA200PercentMonitorLaysItselfOutAgain)
{
    CAFXOKBIG notice(nullptr, kTitle, L"Corvana is installed.\r\nStart Corvana.");
    RECT client{};
    RECT button{};
    RECT window{};
    RECT suggested{};
    int scaledDpi = 0;
    RECT clientBack{};
    RECT buttonBack{};
    bool cornerCut = false;
    bool insideKept = false;
    bool faceDrawn1To1 = false;
    const INT_PTR result = RunModalWithSteps(
        [&] { return notice.DoModal(); },
        {[&](HWND w) {
             GetWindowRect(w, &window);
             suggested = {window.left - 10, window.top - 20, window.left - 10 + 802, window.top - 20 + 312};
             SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
         },
         [&](HWND w) {
             scaledDpi = notice.Scale().dpi;
             GetClientRect(w, &client);
             GetWindowRect(w, &window);
             GetWindowRect(GetDlgItem(w, IDOK), &button);
             MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&button), 2);
             OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
             GetWindowRgn(w, region.Get());
             cornerCut = !PtInRegion(region.Get(), 1, 1) && !PtInRegion(region.Get(), 801, 311);
             insideKept = PtInRegion(region.Get(), 8, 8) && PtInRegion(region.Get(), 793, 303);
             // The faces drawn for 200 %, shown 1:1.
             const Capture shown = CaptureClient(w);
             SkinScale doubled;
             doubled.dpi = 192;
             OwnedBitmap up(DrawButtonFace({166, 46}, kFaceUp, L"OK", doubled));
             OwnedBitmap focused(DrawButtonFace({166, 46}, kFaceFocused, L"OK", doubled));
             MemoryDC dc(nullptr);
             for (HBITMAP face : {up.Get(), focused.Get()}) {
                 SelectedObject selected(dc.Get(), face);
                 bool same = true;
                 for (int y = 0; y < 46 && same; y += 3) {
                     for (int x = 0; x < 166 && same; x += 5) {
                         same = shown.At(button.left + x, button.top + y) == GetPixel(dc.Get(), x, y);
                     }
                 }
                 faceDrawn1To1 = faceDrawn1To1 || same;
             }
             RECT back = {0, 0, 401, 156};
             SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
         },
         // And back on a 100 % monitor, with the 96-dot faces.
         [&](HWND w) {
             GetClientRect(w, &clientBack);
             GetWindowRect(GetDlgItem(w, IDOK), &buttonBack);
             MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&buttonBack), 2);
             ClickButton(w, IDOK);
         }});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(scaledDpi, 192);
    EXPECT_EQ(Edges(window), Edges(suggested)) << "the suggested place";
    EXPECT_EQ(client.right, 802);
    EXPECT_EQ(client.bottom, 312);
    EXPECT_EQ(Edges(button), (std::vector<LONG>{328, 230, 494, 276}));
    EXPECT_TRUE(cornerCut);
    EXPECT_TRUE(insideKept);
    EXPECT_TRUE(faceDrawn1To1) << "the OK button shows a 200 % face";
    EXPECT_EQ(Edges(clientBack), (std::vector<LONG>{0, 0, 401, 156}));
    EXPECT_EQ(Edges(buttonBack), (std::vector<LONG>{164, 115, 247, 138}));
}

TEST(Notice, OneEmptyTextStillShows)
{
    CAFXOKBIG notice(nullptr, L"", L"only a message");
    Snapshot s;
    EXPECT_EQ(RunAndProbe(notice, s, [](HWND w) { ClickButton(w, IDOK); }), IDOK);
    EXPECT_TRUE(s.seen);
    EXPECT_EQ(CountIn(s, {10, 8, 250, 30}, [](COLORREF c) { return c == RGB(255, 255, 255); }), 0)
        << "an empty title draws nothing";
}

TEST(Question, GeometryAndOk)
{
    CASFXYESNO question(nullptr, kTitle,
                        L"Corvana is not installed.\r\nDo you want to download the installation file?");
    Snapshot s;
    const INT_PTR result = RunAndProbe(question, s, [](HWND w) { ClickButton(w, IDOK); });
    ASSERT_TRUE(s.seen);
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(question.Message().empty()) << "the question keeps its texts";
    EXPECT_EQ(s.client.right, 264);
    EXPECT_EQ(s.client.bottom, 156);
    EXPECT_EQ(Edges(s.buttons[0]), (std::vector<LONG>{38, 102, 121, 125}));
    EXPECT_EQ(s.buttons[1].left, 141);
    EXPECT_EQ(s.buttons[1].top, 102);
    EXPECT_EQ(s.buttons[1].right, 224);
    EXPECT_FALSE(s.topmost);
    EXPECT_GT(CountIn(s, {26, 42, 241, 90}, [](COLORREF c) { return Near(c, 89, 69, 28, 12); }), 60);
    EXPECT_TRUE(BitmapMatchesAt(s, L"EXITU", {141, 102}, true)) << "EXIT, not focused, shows its up face";
}

TEST(Question, ExitAndEscapeCancel)
{
    {
        CASFXYESNO question(nullptr, kTitle, L"question");
        Snapshot s;
        EXPECT_EQ(RunAndProbe(question, s, [](HWND w) { ClickButton(w, IDCANCEL); }), IDCANCEL);
        EXPECT_TRUE(s.seen);
    }
    {
        CASFXYESNO question(nullptr, kTitle, L"question");
        Snapshot s;
        EXPECT_EQ(RunAndProbe(question, s, [](HWND w) { PressEscape(w); }), IDCANCEL);
        EXPECT_TRUE(s.seen);
    }
}

TEST(Question, EmptyTextsGiveOkAtOnce)
{
    Snapshot s;
    CASFXYESNO question(nullptr, L"", L"");
    EXPECT_EQ(RunAndProbe(question, s, [](HWND w) { ClickButton(w, IDCANCEL); }), IDOK);
    EXPECT_FALSE(s.seen);
}

TEST(SkinPainting, OffScreenCompositionClipsLongTexts)
{
    // A title too wide for 240 pixels wraps, and the 22-row title rectangle
    // clips the second line; message lines below its rectangle are cut off.
    CAFXOKBIG notice(nullptr, L"A very long title that will never fit into the two hundred and forty pixels",
                     L"one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix");
    ClientDC screen(nullptr);
    MemoryDC target(screen.Get());
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), 401, 156));
    SelectedObject selected(target.Get(), bitmap.Get());
    notice.PaintContent(target.Get(), 401, 156, SkinScale());
    int messageBelowRect = 0;
    for (int y = 100; y < 156; ++y) {
        for (int x = 0; x < 401; ++x) {
            messageBelowRect += Near(GetPixel(target.Get(), x, y), 89, 69, 28, 12) ? 1 : 0;
        }
    }
    int messageInRect = 0;
    for (int y = 52; y < 100; ++y) {
        for (int x = 50; x < 350; ++x) {
            messageInRect += Near(GetPixel(target.Get(), x, y), 89, 69, 28, 12) ? 1 : 0;
        }
    }
    EXPECT_EQ(messageBelowRect, 0);
    EXPECT_GT(messageInRect, 30);
    // The body below the band is white to light grey; white title text
    // leaking below row 30 cannot be told apart there, so look at the band.
    int whiteInBand = 0;
    for (int y = 8; y < 29; ++y) {
        for (int x = 250; x < 401; ++x) {
            whiteInBand += GetPixel(target.Get(), x, y) == RGB(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_EQ(whiteInBand, 0) << "the title is clipped at its right edge";
}

TEST(Question, KeyboardTabShowsFocusAndEnterPressesTheFocusedButton)
{
    CASFXYESNO question(nullptr, kTitle, L"question");
    Snapshot s;
    bool exitFocusedFace = false;
    HWND focusAfterTab = nullptr;
    HWND exitButton = nullptr;
    const INT_PTR result = RunAndProbe(question, s,
                                       {[&](HWND w) {
                                            exitButton = GetDlgItem(w, IDCANCEL);
                                            PostMessageW(GetDlgItem(w, IDOK), WM_KEYDOWN, VK_TAB, 0x000F0001);
                                            PostMessageW(GetDlgItem(w, IDOK), WM_KEYUP, VK_TAB, 0xC00F0001);
                                        },
                                        // The keys are handled before the next step: it waits for the
                                        // repaint they cause.
                                        [&](HWND w) {
                                            focusAfterTab = GetFocus();
                                            Snapshot after;
                                            after.shown = CaptureClient(w);
                                            exitFocusedFace = BitmapMatchesAt(after, L"EXITF", {141, 102}, false);
                                            PostMessageW(exitButton, WM_KEYDOWN, VK_RETURN, 0x001C0001);
                                            PostMessageW(exitButton, WM_KEYUP, VK_RETURN, 0xC01C0001);
                                        }});
    ASSERT_TRUE(s.seen);
    EXPECT_TRUE(BitmapMatchesAt(s, L"OKF", {38, 102}, false)) << "OK has the focus when the dialog opens";
    EXPECT_EQ(focusAfterTab, exitButton) << "Tab moves to EXIT";
    EXPECT_TRUE(exitFocusedFace) << "EXIT shows its focused face";
    EXPECT_EQ(result, IDCANCEL) << "Enter presses the focused EXIT";
}

// Every message a user can meet, laid out as the dialog lays it out (16-
// pixel Arial, its rectangle's width, centred word breaking), fits its
// rectangle: a translation that grows past it would be cut off.
TEST(SkinPainting, EveryShownMessageFitsItsRectangle)
{
    struct Shown {
        UINT id;
        const SkinLayout& layout;
        bool allLanguages;  // 5003 is only ever shown in English
    };
    const Shown shown[] = {{5000, CAFXOKBIG::kLayout, true},
                           {5002, CAFXOKBIG::kLayout, true},
                           {5001, CASFXYESNO::kLayout, true},
                           {5003, CAFXOKBIG::kLayout, false}};
    std::wstring face;
    LaidOutMessage(L"x", 100, face);
    ASSERT_TRUE(face == L"Arial" || face == L"Liberation Sans")
        << "measured with " << std::string(face.begin(), face.end()) << ", not Arial's metrics";
    int measured = 0;
    for (const Shown& message : shown) {
        for (std::uint32_t locale : kSupportedLocales) {
            const LANGID language = message.allLanguages ? static_cast<LANGID>(locale) : LANGID(1033);
            if (!message.allLanguages && locale != 1033) continue;
            std::wstring text;
            ASSERT_TRUE(FindStringInLanguage(GetModuleHandleW(nullptr), message.id, language, text));
            const RECT& area = message.layout.messageRect;
            const SIZE laid = LaidOutMessage(text, area.right - area.left, face);
            EXPECT_LE(laid.cy, area.bottom - area.top) << "message " << message.id << " in " << language;
            EXPECT_LE(laid.cx, area.right - area.left) << "message " << message.id << " in " << language;
            ++measured;
        }
    }
    EXPECT_EQ(measured, 31);
}

namespace {
class HelpCountingApp : public CApp {
public:
    int helpCalls = 0;

protected:
    CommandTable GetCommandTable() const override { return {kCommands, 1}; }
    void OnHelp() override { ++helpCalls; }

private:
    static constexpr CommandEntry kCommands[] = {
        {ID_HELP, static_cast<CommandHandler>(&HelpCountingApp::OnHelp)},
    };
};
}  // namespace

// The help command (F1 in the framework) that no dialog handles reaches
// the application's command table.
TEST(CommandRouting, UnhandledCommandsReachTheApplication)
{
    HelpCountingApp app;
    CAFXOKBIG notice(nullptr, kTitle, L"message");
    Snapshot s;
    const INT_PTR result = RunAndProbe(notice, s, [](HWND w) {
        PostMessageW(w, WM_COMMAND, MAKEWPARAM(ID_HELP, 0), 0);
        PostMessageW(w, WM_COMMAND, MAKEWPARAM(4242, 0), 0);  // bound to nothing
        PressEscape(w);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(app.helpCalls, 1);
    EXPECT_FALSE(app.OnCommand(4242));
}

namespace {

// A dialog derived from the notice that binds one message of its own: its
// table chains to the skin's, which keeps painting, the caption band, the
// accessibility answer and the display-scale handling.
class CTimedNotice : public CAFXOKBIG {
public:
    using CAFXOKBIG::CAFXOKBIG;
    int ticks = 0;

protected:
    const MessageTable* GetMessageTable() const override { return &kTable; }

private:
    void OnTimer(UINT_PTR) { ++ticks; }
    static const MessageEntry kMessages[];
    static const MessageTable kTable;
};
constexpr CDialog::MessageEntry CTimedNotice::kMessages[] = {
    MessageMap<CTimedNotice>::Timer<&CTimedNotice::OnTimer>()};
constexpr CDialog::MessageTable CTimedNotice::kTable =
    MessageMap<CTimedNotice>::Table(kMessages, &CSkinnedMessageDialog::kMessageTable);

// The notice's layout with a background that does not decode, as on a PC
// without the imaging component.
class CBareNotice : public CSkinnedMessageDialog {
public:
    static SkinLayout Layout()
    {
        SkinLayout layout = CAFXOKBIG::kLayout;
        layout.backgroundId = 999;
        return layout;
    }
    CBareNotice(const SkinLayout& layout, std::wstring title, std::wstring message)
        : CSkinnedMessageDialog(layout, nullptr, std::move(title), std::move(message))
    {
    }

protected:
    void BindButtons() override { m_btnOK.AutoLoad(IDOK, m_hWnd); }

private:
    CBitmapButton m_btnOK;
};

}  // namespace

TEST(DerivedDialog, AddsAnEntryAndKeepsEverythingOfItsBase)
{
    CTimedNotice notice(nullptr, kTitle, L"Corvana is installed.\r\nStart Corvana.");
    LRESULT bandHit = 0;
    COLORREF band = 0;
    LRESULT answered = 0;
    RECT scaled{};
    const INT_PTR result = RunModalWithSteps(
        [&] { return notice.DoModal(); },
        {[&](HWND w) {
             SetTimer(w, 7, 10, nullptr);
             RECT window{};
             GetWindowRect(w, &window);
             bandHit = SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(window.left + 200, window.top + 10));
             band = CaptureClient(w).At(380, 14);
             answered = SendMessageW(w, WM_GETOBJECT, 0, OBJID_CLIENT);
             if (answered > 0) {
                 OwnedInterface<IUnknown> object;
                 ObjectFromLresult(answered, __uuidof(IUnknown), 0, reinterpret_cast<void**>(object.Receive()));
             }
             RECT suggested = window;
             SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
             GetClientRect(w, &scaled);
         },
         [&](HWND w) {
             WaitUntil([&] { return notice.ticks > 0; }, 2000);
             ClickButton(w, IDOK);
         }});
    EXPECT_EQ(result, IDOK);
    EXPECT_GT(notice.ticks, 0) << "its own entry";
    EXPECT_EQ(bandHit, HTCAPTION) << "the caption band";
    EXPECT_GT(GetBValue(band), GetRValue(band) + 40) << "painted: the dark blue title band";
    EXPECT_GT(answered, 0) << "the accessibility answer";
    EXPECT_EQ(Edges(scaled), (std::vector<LONG>{0, 0, 802, 312})) << "laid out again at 200 %";
}

TEST(DerivedDialog, BackgroundThatDoesNotDecodeIsDrawnWithoutAndAnswers)
{
    const SkinLayout layout = CBareNotice::Layout();
    CBareNotice notice(layout, kTitle, L"Corvana is installed.\r\nStart Corvana.");
    Snapshot s;
    const INT_PTR result = RunAndProbe(notice, s, [](HWND w) { ClickButton(w, IDOK); });
    ASSERT_TRUE(s.seen) << "shown, not ended by the missing background";
    EXPECT_EQ(result, IDOK);
    EXPECT_GT(CountIn(s, {10, 8, 250, 30}, [](COLORREF c) { return c == RGB(255, 255, 255); }), 30)
        << "white title text";
    EXPECT_GT(CountIn(s, {50, 52, 350, 100}, [](COLORREF c) { return Near(c, 89, 69, 28, 12); }), 60)
        << "message text in its colour";
}

// A button is its face's size at every scale: the bitmaps' size at its
// place, scaled edge by edge.
TEST(SkinButtons, FaceRectanglesAreTheBitmapsScaledEdgeByEdge)
{
    for (const wchar_t* name : {L"OKU", L"OKD", L"OKF", L"OKX", L"EXITU", L"EXITD", L"EXITF", L"EXITX"}) {
        BITMAP info{};
        OwnedBitmap bitmap(
            static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, 0)));
        ASSERT_TRUE(GetObjectW(bitmap.Get(), sizeof(info), &info)) << name;
        EXPECT_EQ(std::vector<LONG>({info.bmWidth, info.bmHeight}),
                  std::vector<LONG>({kSkinButtonFace.cx, kSkinButtonFace.cy}))
            << name;
    }
    const SkinButtonPlace* question = CASFXYESNO::kLayout.buttons.begin();
    const int kScaled[][4] = {{144, 0, 125, 35}, {144, 1, 124, 35}, {192, 0, 166, 46}, {192, 1, 166, 46}};
    for (const auto& c : kScaled) {
        const RECT r = SkinScale{c[0]}.Rect(question[c[1]].Face());
        EXPECT_EQ(std::vector<LONG>({r.right - r.left, r.bottom - r.top}), std::vector<LONG>({c[2], c[3]}))
            << c[0];
    }
}
