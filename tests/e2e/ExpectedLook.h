#pragma once
// The launcher's dialogs as they are specified to look, drawn here and not
// by the launcher's paint code, to compare with the screen.
#include <windows.h>

#include <string>

// The 96-dot layout scaled to `dpi` the launcher's way: to the nearest
// pixel, halves away from zero.
inline int ScaledPx(int pixelsAt96, int dpi)
{
    return MulDiv(pixelsAt96, dpi, 96);
}
inline RECT ScaledRect(const RECT& r, int dpi)
{
    return {ScaledPx(r.left, dpi), ScaledPx(r.top, dpi), ScaledPx(r.right, dpi), ScaledPx(r.bottom, dpi)};
}

// The message rectangle of the notice or the question at 96 dots.
RECT ExpectedMessageRect(bool notice);

// Whether the title and message areas of `dialog` on screen match, pixel for
// pixel, the specified drawing at `dpi` with this message and the title.
bool MessageAreaMatches(HWND dialog, bool notice, const std::wstring& text, int dpi = 96);
