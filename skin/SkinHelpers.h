#pragma once
#include <windows.h>

#include "skin/SkinScale.h"

// Decodes the "PNG" resource `resourceId` of the executable into a bitmap
// the caller owns and deletes; null when it is missing or undecodable.
HBITMAP LoadPngBitmap(UINT resourceId);
// The same decoded at `size` (a larger display's), scaled as it is decoded.
HBITMAP LoadPngBitmap(UINT resourceId, SIZE size);

// Clips a borderless window to its client rectangle with corners rounded on
// an 8 x 8 circle (at 96 dots per inch; scaled). The window owns the region
// afterwards.
void ApplyRoundedRegion(HWND window, const SkinScale& scale = SkinScale());

// The non-client hit test of the skinned windows: a client hit in the
// caption band (SkinScale::CaptionBand: at 96 dots strictly inside the left
// and right edges and within the 28 rows below the top edge) is reported
// as caption, so that band drags the window.
LRESULT CaptionStripHitTest(HWND window, POINT point, const SkinScale& scale = SkinScale());

// Pure step of CaptionStripHitTest: the answer for a default result and a
// point, given the window rectangle in screen coordinates.
LRESULT CaptionStripAnswer(LRESULT defaultResult, const RECT& window, POINT point,
                           const SkinScale& scale = SkinScale());
