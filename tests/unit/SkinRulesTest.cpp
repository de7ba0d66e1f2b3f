#include <gtest/gtest.h>

#include "framework/BitmapButton.h"
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

TEST(CaptionStrip, OtherDefaultResultsPassThrough)
{
    const RECT window = {0, 0, 264, 156};
    for (LRESULT code : {static_cast<LRESULT>(HTNOWHERE), static_cast<LRESULT>(HTBORDER),
                         static_cast<LRESULT>(HTTOP), static_cast<LRESULT>(HTERROR)}) {
        EXPECT_EQ(CaptionStripAnswer(code, window, {50, 10}), code);
    }
}

TEST(CaptionStrip, HitTestMessagePointsAreSigned)
{
    const POINT p = PointFromHitTestMessage(MAKELPARAM(-5, -1200));
    EXPECT_EQ(p.x, -5);
    EXPECT_EQ(p.y, -1200);
}
