#pragma once
// An owner-drawn push button that draws itself from four bitmaps named
// after its caption: caption + "U" (up, required), "D" (pressed),
// "F" (focused) and "X" (disabled).
#include <windows.h>

#include <string>

#include "framework/GdiObjects.h"

class CDialog;

class CBitmapButton {
public:
    CBitmapButton() = default;
    ~CBitmapButton();
    CBitmapButton(const CBitmapButton&) = delete;
    CBitmapButton& operator=(const CBitmapButton&) = delete;

    // Takes over control `id` of `dialog`, loads its bitmaps from the
    // executable and resizes the button to the "U" bitmap, keeping its top
    // left corner. FALSE when the control or the "U" bitmap is missing.
    BOOL AutoLoad(UINT id, HWND dialog);

    // Draws the bitmap for the button's state 1:1 into its rectangle.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    HWND GetSafeHwnd() const { return m_hWnd; }
    static CBitmapButton* FromHandle(HWND control);

    enum class Face { Up, Down, Focused, Disabled };
    // The face a state shows: pressed, else focused, else disabled, else up.
    static Face FaceFor(UINT itemState);

private:
    HBITMAP BitmapFor(Face face) const;

    HWND m_hWnd = nullptr;
    OwnedBitmap m_up;
    OwnedBitmap m_down;
    OwnedBitmap m_focused;
    OwnedBitmap m_disabled;
};
