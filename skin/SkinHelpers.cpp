#include "skin/SkinHelpers.h"

#include <windowsx.h>

#include "framework/ScopedHandles.h"
#include "imagelib/ximage.h"

namespace {
const int kCaptionBandRows = 29;  // rows top + 1 ... top + 28
}

HBITMAP LoadPngBitmap(UINT resourceId)
{
    CxImage image(CXIMAGE_FORMAT_UNKNOWN);
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(LOWORD(resourceId)), L"PNG");
    HBITMAP bitmap = nullptr;
    if (image.LoadResource(resource, CXIMAGE_FORMAT_PNG, nullptr)) {
        bitmap = image.MakeBitmap(nullptr);
    }
    image.Destroy();
    return bitmap;
}

void ApplyRoundedRegion(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;

    // One column and one row more than the client area; the right and
    // bottom corners are laid on that larger box.
    OwnedRegion full(CreateRectRgn(0, 0, w + 1, h + 1));
    if (!full) {
        return;
    }
    struct Corner {
        RECT ellipse;
        RECT square;
    };
    const Corner corners[] = {
        {{0, 0, 8, 8}, {0, 0, 4, 4}},                                  // top-left
        {{w - 7, 0, w + 1, 8}, {w - 3, 0, w + 1, 4}},                  // top-right
        {{0, h - 7, 8, h + 1}, {0, h - 3, 4, h + 1}},                  // bottom-left
        {{w - 7, h - 7, w + 1, h + 1}, {w - 3, h - 3, w + 1, h + 1}},  // bottom-right
    };
    for (const Corner& corner : corners) {
        OwnedRegion ellipse(CreateEllipticRgn(corner.ellipse.left, corner.ellipse.top, corner.ellipse.right,
                                              corner.ellipse.bottom));
        OwnedRegion square(
            CreateRectRgn(corner.square.left, corner.square.top, corner.square.right, corner.square.bottom));
        // The part of the square outside the circle is cut away.
        CombineRgn(square.Get(), square.Get(), ellipse.Get(), RGN_DIFF);
        CombineRgn(full.Get(), full.Get(), square.Get(), RGN_DIFF);
    }
    if (SetWindowRgn(window, full.Get(), TRUE)) {
        full.Detach();  // the window owns it now
    }
}

LRESULT CaptionStripAnswer(LRESULT defaultResult, const RECT& window, POINT point)
{
    if (defaultResult == HTCLIENT && point.x > window.left && point.x < window.right && point.y > window.top &&
        point.y < window.top + kCaptionBandRows) {
        return HTCAPTION;
    }
    return defaultResult;
}

LRESULT CaptionStripHitTest(HWND window, POINT point)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const LRESULT defaultResult = DefWindowProcW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    return CaptionStripAnswer(defaultResult, rect, point);
}

POINT PointFromHitTestMessage(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
