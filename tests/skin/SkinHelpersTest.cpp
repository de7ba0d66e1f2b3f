#include <gtest/gtest.h>

#include "framework/ScopedHandles.h"
#include "res/resource.h"
#include "skin/SkinHelpers.h"

namespace {

// A borderless popup like the skinned dialogs, for the helpers to work on.
class TestWindow {
public:
    TestWindow(int x, int y, int w, int h, DWORD style = WS_POPUP)
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SkinHelpersTestWindow";
        RegisterClassW(&wc);
        m_hwnd =
            CreateWindowExW(0, wc.lpszClassName, L"", style, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() { DestroyWindow(m_hwnd); }
    HWND Get() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    MemoryDC dc(nullptr);
    SelectedObject selected(dc.Get(), bitmap);
    return GetPixel(dc.Get(), x, y);
}

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectW(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

TEST(RoundedRegion, CornersOfTheNoticeSize)
{
    TestWindow window(0, 0, 401, 156);
    ASSERT_NE(window.Get(), nullptr);
    ApplyRoundedRegion(window.Get());
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window.Get(), region.Get()), ERROR);

    RECT box;
    GetRgnBox(region.Get(), &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 402);
    EXPECT_EQ(box.bottom, 157);

    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 4, 4));
    EXPECT_TRUE(PtInRegion(region.Get(), 200, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 0, 78));
    EXPECT_FALSE(PtInRegion(region.Get(), 400, 0));
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 155));
    EXPECT_FALSE(PtInRegion(region.Get(), 400, 155));
    EXPECT_TRUE(PtInRegion(region.Get(), 396, 151));
    // Outside the squares nothing is cut, even next to the corners.
    EXPECT_TRUE(PtInRegion(region.Get(), 0, 4));
    EXPECT_TRUE(PtInRegion(region.Get(), 4, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 397, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 401, 4));
    EXPECT_TRUE(PtInRegion(region.Get(), 0, 152));
}

TEST(RoundedRegion, RightAndBottomCutsSitOnePixelFurtherOut)
{
    const int w = 264;
    const int h = 156;
    TestWindow window(0, 0, w, h);
    ApplyRoundedRegion(window.Get());
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window.Get(), region.Get()), ERROR);
    // Inside the client area the four corners are mirror images.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const BOOL topLeft = PtInRegion(region.Get(), x, y);
            EXPECT_EQ(PtInRegion(region.Get(), w - 1 - x, y), topLeft) << x << "," << y;
            EXPECT_EQ(PtInRegion(region.Get(), x, h - 1 - y), topLeft) << x << "," << y;
            EXPECT_EQ(PtInRegion(region.Get(), w - 1 - x, h - 1 - y), topLeft) << x << "," << y;
        }
    }
    // The region is one column and one row larger than the client area,
    // and the right and bottom cuts are laid on that larger box: they reach
    // deeper into the extra column and row than the left and top cuts reach
    // into column 0 and row 0.
    int cutInColumnZero = 0;
    int cutInExtraColumn = 0;
    int cutInRowZero = 0;
    int cutInExtraRow = 0;
    for (int i = 0; i < 8; ++i) {
        cutInColumnZero += PtInRegion(region.Get(), 0, i) ? 0 : 1;
        cutInExtraColumn += PtInRegion(region.Get(), w, i) ? 0 : 1;
        cutInRowZero += PtInRegion(region.Get(), i, 0) ? 0 : 1;
        cutInExtraRow += PtInRegion(region.Get(), i, h) ? 0 : 1;
    }
    EXPECT_GT(cutInExtraColumn, cutInColumnZero);
    EXPECT_GT(cutInExtraRow, cutInRowZero);
    EXPECT_TRUE(PtInRegion(region.Get(), w, 4)) << "nothing is cut below the square";
    EXPECT_TRUE(PtInRegion(region.Get(), 4, h)) << "nothing is cut beside the square";
    EXPECT_FALSE(PtInRegion(region.Get(), w + 1, 4)) << "the region ends at column w";
}

TEST(CaptionStripHitTest, RowsAndColumnsOfARealWindow)
{
    const int left = 120;
    const int top = 140;
    TestWindow window(left, top, 264, 156);
    ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(CaptionStripHitTest(window.Get(), {left + 100, top + 28}), HTCAPTION);
    EXPECT_EQ(CaptionStripHitTest(window.Get(), {left + 100, top + 1}), HTCAPTION);
    EXPECT_EQ(CaptionStripHitTest(window.Get(), {left + 100, top}), HTCLIENT);
    EXPECT_EQ(CaptionStripHitTest(window.Get(), {left + 100, top + 29}), HTCLIENT);
    EXPECT_EQ(CaptionStripHitTest(window.Get(), {left, top + 10}), HTCLIENT);
    EXPECT_EQ(CaptionStripHitTest(window.Get(), {left + 263, top + 10}), HTCAPTION);
    EXPECT_EQ(CaptionStripHitTest(window.Get(), {left - 5, top + 10}), HTNOWHERE);
}

TEST(CaptionStripHitTest, BorderCodesPassThroughInsideTheBand)
{
    const int left = 120;
    const int top = 140;
    TestWindow window(left, top, 264, 156, WS_POPUP | WS_THICKFRAME);
    ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
    const LRESULT atTopEdge = CaptionStripHitTest(window.Get(), {left + 100, top + 1});
    EXPECT_EQ(atTopEdge, HTTOP);
}

TEST(LoadPngBitmap, BackgroundsHaveTheirSizes)
{
    OwnedBitmap notice(LoadPngBitmap(IDB_NOTICE_BACKGROUND));
    OwnedBitmap question(LoadPngBitmap(IDB_QUESTION_BACKGROUND));
    ASSERT_TRUE(notice);
    ASSERT_TRUE(question);
    EXPECT_EQ(SizeOf(notice.Get()).cx, 401);
    EXPECT_EQ(SizeOf(notice.Get()).cy, 156);
    EXPECT_EQ(SizeOf(question.Get()).cx, 264);
    EXPECT_EQ(SizeOf(question.Get()).cy, 156);
}

TEST(LoadPngBitmap, ColoursOfTheDesign)
{
    OwnedBitmap notice(LoadPngBitmap(IDB_NOTICE_BACKGROUND));
    ASSERT_TRUE(notice);
    const COLORREF band = PixelOf(notice.Get(), 200, 14);
    EXPECT_GT(GetBValue(band), GetRValue(band) + 40) << "title band is dark blue";
    EXPECT_LT(GetRValue(band), 80);
    const COLORREF body = PixelOf(notice.Get(), 200, 40);
    EXPECT_GT(GetRValue(body), 240) << "body starts white";
    const COLORREF lowBody = PixelOf(notice.Get(), 200, 150);
    EXPECT_LT(GetRValue(lowBody), GetRValue(body)) << "body fades to grey";
    const COLORREF bottomLine = PixelOf(notice.Get(), 200, 155);
    EXPECT_LT(GetRValue(bottomLine) + GetGValue(bottomLine) + GetBValue(bottomLine), 200);
}

TEST(LoadPngBitmap, EveryCallDecodesANewBitmap)
{
    OwnedBitmap first(LoadPngBitmap(IDB_QUESTION_BACKGROUND));
    OwnedBitmap second(LoadPngBitmap(IDB_QUESTION_BACKGROUND));
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first.Get(), second.Get());
    first.Reset();
    EXPECT_EQ(SizeOf(second.Get()).cx, 264) << "the second survives the first";
}

TEST(LoadPngBitmap, MissingOrNonPngResourceGivesNull)
{
    EXPECT_EQ(LoadPngBitmap(999), nullptr);
    // A dialog template exists under this number, but not as "PNG".
    EXPECT_EQ(LoadPngBitmap(IDD_NOTICE), nullptr);
    // Only the low 16 bits name the resource.
    OwnedBitmap wrapped(LoadPngBitmap(0x10000u + IDB_NOTICE_BACKGROUND));
    EXPECT_TRUE(wrapped);
}
