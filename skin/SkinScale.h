#pragma once
// The skin is laid out in pixels at 96 dots per inch. At another scale each
// of those values is multiplied by dpi / 96 and rounded to the nearest
// pixel, halves away from zero (MulDiv); a rectangle's edges are scaled one
// by one, so rectangles that touch at 96 dots still touch.
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
};

// The dots per inch `window` is drawn at: its monitor's where Windows scales
// per monitor (10 and later: GetDpiForWindow; 8.1: GetDpiForMonitor), else
// the system's. Looked up at run time: XP to 8 have neither call.
SkinScale ScaleOfWindow(HWND window);
