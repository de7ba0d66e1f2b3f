#include <gtest/gtest.h>

#include <vector>

#include "framework/BitmapButton.h"
#include "imagelib/BilinearScaler.h"
#include "skin/SkinHelpers.h"

TEST(BitmapButtonFace, PressedBeatsFocusBeatsDisabled)
{
    using Face = CBitmapButton::Face;
    EXPECT_EQ(CBitmapButton::FaceFor(0), Face::Up);
    EXPECT_EQ(CBitmapButton::FaceFor(ODS_SELECTED | ODS_FOCUS | ODS_DISABLED), Face::Down);
    EXPECT_EQ(CBitmapButton::FaceFor(ODS_FOCUS | ODS_DISABLED), Face::Focused);
    EXPECT_EQ(CBitmapButton::FaceFor(ODS_DISABLED), Face::Disabled);
    EXPECT_EQ(CBitmapButton::FaceFor(ODS_DEFAULT), Face::Up);
}

TEST(CaptionStrip, BandIsStrictlyInsideTheTopRows)
{
    const RECT window = {100, 200, 501, 356};
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {200, 200 + 28}), HTCAPTION);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {200, 201}), HTCAPTION);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {200, 200}), HTCLIENT);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {200, 200 + 29}), HTCLIENT);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {100, 210}), HTCLIENT);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {101, 210}), HTCAPTION);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 210}), HTCAPTION);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {501, 210}), HTCLIENT);
}

TEST(CaptionStrip, BandIsScaledEdgeByEdge)
{
    const RECT window = {100, 200, 902, 512};
    for (int dpi : {120, 144, 168, 192, 240, 288}) {
        SkinScale scale;
        scale.dpi = dpi;
        const int first = MulDiv(1, dpi, 96);
        const int end = MulDiv(29, dpi, 96);  // the first row below the band
        SCOPED_TRACE(dpi);
        EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 200 + first - 1}, scale), HTCLIENT);
        EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 200 + first}, scale), HTCAPTION);
        EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 200 + end - 1}, scale), HTCAPTION);
        EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 200 + end}, scale), HTCLIENT);
        EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {100 + first - 1, 210}, scale), HTCLIENT);
        EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {901, 210}, scale), HTCAPTION);
    }
    SkinScale doubled;
    doubled.dpi = 192;
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 202}, doubled), HTCAPTION) << "rows 2 to 57 at 200 %";
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 257}, doubled), HTCAPTION);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 258}, doubled), HTCLIENT);
    EXPECT_EQ(CaptionStripAnswer(HTCLIENT, window, {500, 201}, doubled), HTCLIENT);
}

TEST(CaptionStrip, OtherDefaultResultsPassThrough)
{
    const RECT window = {0, 0, 264, 156};
    for (LRESULT code : {static_cast<LRESULT>(HTNOWHERE), static_cast<LRESULT>(HTBORDER),
                         static_cast<LRESULT>(HTTOP), static_cast<LRESULT>(HTERROR)}) {
        EXPECT_EQ(CaptionStripAnswer(code, window, {50, 10}), code);
    }
}

// Centres aligned, edges clamped, weights in 1/256 rounded: a two-pixel
// ramp made four pixels long, across and down (rows in any order).
TEST(BilinearScaler, StretchesATwoPixelRampWithCentresAligned)
{
    const std::uint32_t ramp[] = {0x00000000, 0xFFFFFFFF};
    const std::vector<std::uint32_t> expected = {0x00000000, 0x40404040, 0xBFBFBFBF, 0xFFFFFFFF};
    std::vector<std::uint8_t> work(BilinearScaler::WorkBytes(4));
    std::vector<std::uint32_t> row(4);
    BilinearScaler(ramp, 2, 1, 4, 1, work.data()).Row(0, row.data());
    EXPECT_EQ(row, expected);
    BilinearScaler down(ramp, 1, 2, 1, 4, work.data());
    for (std::uint32_t y = 4; y-- > 0;) {
        down.Row(y, row.data());
        EXPECT_EQ(row[0], expected[y]) << y;
    }
}
