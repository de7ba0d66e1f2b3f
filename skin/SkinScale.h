#pragma once
// The skin is laid out in pixels at 96 dots per inch. At another scale each
// of those values is multiplied by dpi / 96 and rounded to the nearest
// pixel, halves away from zero (MulDiv). A rectangle is scaled once, edge
// by edge (Rect), so rectangles that touch at 96 dots still touch, and that
// one rectangle is where a thing is drawn, what is invalidated for it and
// what a screen reader is told.
#include <windows.h>

struct SkinScale {
    static constexpr int kReferenceDpi = 96;
    int dpi = kReferenceDpi;

    int Px(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi, kReferenceDpi); }
    RECT Rect(const RECT& r) const { return {Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }
    SIZE Size(const SIZE& s) const { return {Px(s.cx), Px(s.cy)}; }
    // The display's scale in percent, 100 at 96 dots per inch.
    int Percent() const { return Px(100); }
    bool IsReference() const { return dpi == kReferenceDpi; }

    // The band that drags a skinned window, within its window rectangle
    // `window` (screen coordinates, right and bottom exclusive): at 96 dots
    // rows top + 1 to top + 28 and every column right of the left edge,
    // scaled edge by edge like any skin rectangle (at 200 % rows top + 2 to
    // top + 57).
    RECT CaptionBand(const RECT& window) const
    {
        return {window.left + Px(1), window.top + Px(1), window.right, window.top + Px(29)};
    }
};

// The dots per inch `window` is drawn at: its monitor's where Windows scales
// per monitor (10 and later: GetDpiForWindow; 8.1: GetDpiForMonitor), else
// the system's. Looked up at run time: XP to 8 have neither call.
SkinScale ScaleOfWindow(HWND window);
