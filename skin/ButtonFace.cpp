#include "skin/ButtonFace.h"

#include <initializer_list>

#include "framework/ScopedHandles.h"

namespace {

// A rounded rectangle in pixel-edge coordinates.
struct RoundedBox {
    double left, top, right, bottom, radius;

    bool Contains(double x, double y) const
    {
        if (x < left || x > right || y < top || y > bottom) return false;
        const double cx = x < left + radius ? left + radius : x > right - radius ? right - radius : x;
        const double cy = y < top + radius ? top + radius : y > bottom - radius ? bottom - radius : y;
        const double dx = x - cx;
        const double dy = y - cy;
        return dx * dx + dy * dy <= radius * radius;
    }
};

// The share of pixel (x, y) that `box` covers, from 4 x 4 samples.
double Coverage(const RoundedBox& box, int x, int y)
{
    int inside = 0;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            inside += box.Contains(x + (i + 0.5) / 4, y + (j + 0.5) / 4) ? 1 : 0;
        }
    }
    return inside / 16.0;
}

double Channel(COLORREF colour, int shift)
{
    return static_cast<double>((colour >> shift) & 0xFF);
}

}  // namespace

HBITMAP DrawButtonFace(SIZE size, const FaceStyle& style, const wchar_t* label, const SkinScale& scale)
{
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap face(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!face || bits == nullptr) return nullptr;

    // The 96-dot face: outline one pixel wide, corners of the profile's
    // radius on the outline's middle; both times the scale.
    const double s = scale.dpi / static_cast<double>(SkinScale::kReferenceDpi);
    const double stroke = s;
    const RoundedBox outer = {0, 0, static_cast<double>(size.cx), static_cast<double>(size.cy),
                              CVN_FACE_CORNER_RADIUS * s + stroke / 2};
    const RoundedBox inner = {stroke, stroke, size.cx - stroke, size.cy - stroke,
                              CVN_FACE_CORNER_RADIUS * s - stroke / 2};
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < size.cy; ++y) {
        const double along = size.cy > 1 ? static_cast<double>(y) / (size.cy - 1) : 0;
        for (int x = 0; x < size.cx; ++x) {
            const double all = Coverage(outer, x, y);
            const double fill = Coverage(inner, x, y);
            DWORD pixel = 0;
            for (int shift : {0, 8, 16}) {  // COLORREF's red, green, blue
                const double gradient =
                    Channel(style.top, shift) + (Channel(style.bottom, shift) - Channel(style.top, shift)) * along;
                const double value = Channel(kFaceSurround, shift) * (1 - all) +
                                     Channel(style.border, shift) * (all - fill) + gradient * fill;
                // A DIB pixel is blue, green, red from the low byte up.
                pixel |= static_cast<DWORD>(value + 0.5) << (16 - shift);
            }
            pixels[static_cast<size_t>(y) * size.cx + x] = pixel;
        }
    }

    MemoryDC dc(nullptr);
    SelectedObject selected(dc.Get(), face.Get());
    OwnedFont font(CreateFontW(-scale.Px(CVN_FACE_LABEL_HEIGHT), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, ANTIALIASED_QUALITY,
                               0, L"Arial"));
    SelectedObject fontSelection(dc.Get(), font.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), style.ink);
    RECT whole = {0, 0, size.cx, size.cy};
    DrawTextW(dc.Get(), label, -1, &whole, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
    return face.Detach();
}
