#include "skin/SkinHelpers.h"

#include "framework/ScopedHandles.h"
#include "imagelib/ximage.h"
#include "skin/ImageLibrary.h"

namespace {
// At `size` when one is given.
HBITMAP DecodePng(HRSRC resource, const SIZE* size = nullptr)
{
    if (!ImageLibraryReady()) {
        return nullptr;
    }
    CxImage image(CXIMAGE_FORMAT_UNKNOWN);
    HBITMAP bitmap = nullptr;
    if (image.LoadResource(resource, CXIMAGE_FORMAT_PNG, nullptr)) {
        bitmap = size == nullptr
                     ? image.MakeBitmap(nullptr)
                     : image.MakeBitmap(nullptr, static_cast<DWORD>(size->cx), static_cast<DWORD>(size->cy));
    }
    image.Destroy();
    return bitmap;
}
}  // namespace

HBITMAP LoadPngBitmap(UINT resourceId)
{
    return DecodePng(FindResourceW(nullptr, MAKEINTRESOURCEW(LOWORD(resourceId)), L"PNG"));
}

HBITMAP LoadPngBitmap(UINT resourceId, SIZE size)
{
    return DecodePng(FindResourceW(nullptr, MAKEINTRESOURCEW(LOWORD(resourceId)), L"PNG"), &size);
}

void ApplyRoundedRegion(HWND window, const SkinScale& scale)
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
    const int d = scale.Px(8);  // the circle's diameter
    const int s = scale.Px(4);  // the square cut at each corner
    const Corner corners[] = {
        {{0, 0, d, d}, {0, 0, s, s}},                                                  // top-left
        {{w + 1 - d, 0, w + 1, d}, {w + 1 - s, 0, w + 1, s}},                          // top-right
        {{0, h + 1 - d, d, h + 1}, {0, h + 1 - s, s, h + 1}},                          // bottom-left
        {{w + 1 - d, h + 1 - d, w + 1, h + 1}, {w + 1 - s, h + 1 - s, w + 1, h + 1}},  // bottom-right
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

LRESULT CaptionStripAnswer(LRESULT defaultResult, const RECT& window, POINT point, const SkinScale& scale)
{
    const RECT band = scale.CaptionBand(window);
    return defaultResult == HTCLIENT && PtInRect(&band, point) ? HTCAPTION : defaultResult;
}

LRESULT CaptionStripHitTest(HWND window, POINT point, const SkinScale& scale)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const LRESULT defaultResult = DefWindowProcW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    return CaptionStripAnswer(defaultResult, rect, point, scale);
}
