#pragma once
// A bitmap button's face drawn at any display scale from the profile's
// description, the one the 96-dot bitmaps are drawn from
// (tools/make_assets.sh): on the dialog body's colour, a vertical gradient
// inside a rounded one-pixel outline, the label centred in a bold face;
// every measure times the scale, edges anti-aliased.
#include <windows.h>

#include "Profile.h"

#include "skin/SkinScale.h"

struct FaceStyle {
    COLORREF top;     // the gradient's first row
    COLORREF bottom;  // and its last
    COLORREF border;
    COLORREF ink;  // the label
};

// The body colour around the outline's corners.
constexpr COLORREF kFaceSurround = CVN_FACE_SURROUND;

// Up, pressed, focused and disabled, as the profile's [faces] has them.
constexpr FaceStyle kFaceUp = {CVN_FACE_UP};
constexpr FaceStyle kFaceDown = {CVN_FACE_DOWN};
constexpr FaceStyle kFaceFocused = {CVN_FACE_FOCUSED};
constexpr FaceStyle kFaceDisabled = {CVN_FACE_DISABLED};

// A new bitmap of exactly `size` pixels, owned by the caller; null when it
// can't be made.
HBITMAP DrawButtonFace(SIZE size, const FaceStyle& style, const wchar_t* label, const SkinScale& scale);
