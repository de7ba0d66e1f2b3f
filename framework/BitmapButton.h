#pragma once
// An owner-drawn push button that draws itself from four bitmaps named
// after its caption: caption + "U" (up, required), "D" (pressed),
// "F" (focused) and "X" (disabled).
#include <windows.h>

#include <string>

#include "framework/Accessibility.h"

#include "framework/ScopedHandles.h"

class CDialog;

class CBitmapButton {
public:
    CBitmapButton() : m_accessibleLife(CAccessibleLife::Create()) { }
    ~CBitmapButton();
    CBitmapButton(const CBitmapButton&) = delete;
    CBitmapButton& operator=(const CBitmapButton&) = delete;

    // Takes over control `id` of `dialog`, loads its bitmaps from the
    // executable and resizes the button to the "U" bitmap, keeping its top
    // left corner. FALSE when the control or the "U" bitmap is missing.
    BOOL AutoLoad(UINT id, HWND dialog);
    // The bitmaps named after the caption again, and the button resized to
    // the "U" one: what AutoLoad loads, for a button already taken over.
    BOOL LoadCaptionFaces();

    // Faces for another display scale: takes over the four bitmaps (null
    // ones fall back to `up`, which is required) and resizes the button to
    // `size`, keeping its top left corner. FALSE, and the old faces kept,
    // without an `up`.
    BOOL SetFaces(HBITMAP up, HBITMAP down, HBITMAP focused, HBITMAP disabled, SIZE size);

    // Copies the bitmap for the button's state 1:1 into its rectangle.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    // What a screen reader calls the button: what its face shows. The
    // caption only names the bitmaps; it is the name until this is set.
    void SetAccessibleName(const wchar_t* name) { m_accessibleName = name; }
    const std::wstring& AccessibleName() const { return m_accessibleName; }
    // A new accessible object for the button (one reference, the caller's).
    CAccessibleProxy* CreateAccessible() const;

    HWND GetSafeHwnd() const { return m_hWnd; }
    static CBitmapButton* FromHandle(HWND control);

    enum class Face { Up, Down, Focused, Disabled };
    // The face a state shows: pressed, else focused, else disabled, else up.
    static Face FaceFor(UINT itemState);

private:
    HBITMAP BitmapFor(Face face) const;
    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    WNDPROC m_controlProc = nullptr;  // the control's own, before ours
    std::wstring m_accessibleName;
    OwnedAccessibleLife m_accessibleLife;  // ends with the window or this object
    OwnedBitmap m_up;
    OwnedBitmap m_down;
    OwnedBitmap m_focused;
    OwnedBitmap m_disabled;
};
