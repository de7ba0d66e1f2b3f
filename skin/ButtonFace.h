#pragma once
// A bitmap button's face drawn at any display scale from the description
// the 96-dot bitmaps are drawn from (tools/make_assets.sh): on the dialog
// body's colour, a vertical gradient inside a rounded one-pixel outline of
// corner radius 3, the label centred in a bold face 11 pixels high; every
// measure times the scale, edges anti-aliased.
#include <windows.h>

#include "skin/SkinScale.h"

struct FaceStyle {
    COLORREF top;     // the gradient's first row
    COLORREF bottom;  // and its last
    COLORREF border;
    COLORREF ink;  // the label
};

// The body colour around the outline's corners.
constexpr COLORREF kFaceSurround = RGB(0xee, 0xf0, 0xf4);

// Up (grey, white label), pressed (blue, dark label), focused (blue, white
// label), disabled (grey, pale label): the colours of make_assets.sh.
constexpr FaceStyle kFaceUp = {RGB(0x9a, 0xa1, 0xab), RGB(0x76, 0x7d, 0x88), RGB(0x5d, 0x63, 0x6d),
                               RGB(0xff, 0xff, 0xff)};
constexpr FaceStyle kFaceDown = {RGB(0x8f, 0xb3, 0xea), RGB(0x6c, 0x95, 0xd8), RGB(0x3e, 0x64, 0xa8),
                                 RGB(0x0f, 0x1f, 0x3d)};
constexpr FaceStyle kFaceFocused = {RGB(0x3a, 0x74, 0xcf), RGB(0x24, 0x56, 0xa8), RGB(0x17, 0x3d, 0x7c),
                                    RGB(0xff, 0xff, 0xff)};
constexpr FaceStyle kFaceDisabled = {RGB(0xd3, 0xd7, 0xdd), RGB(0xc3, 0xc8, 0xcf), RGB(0xb0, 0xb5, 0xbd),
                                     RGB(0xee, 0xf0, 0xf3)};

// A new bitmap of exactly `size` pixels, owned by the caller; null when it
// can't be made.
HBITMAP DrawButtonFace(SIZE size, const FaceStyle& style, const wchar_t* label, const SkinScale& scale);
