#include "framework/BitmapButton.h"

namespace {
const wchar_t kOwnerProperty[] = L"CBitmapButton";

HBITMAP LoadNamedBitmap(const std::wstring& name)
{
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}
}  // namespace

CBitmapButton::~CBitmapButton()
{
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        RemovePropW(m_hWnd, kOwnerProperty);
    }
}

BOOL CBitmapButton::AutoLoad(UINT id, HWND dialog)
{
    HWND control = GetDlgItem(dialog, static_cast<int>(id));
    if (control == nullptr) {
        return FALSE;
    }
    m_hWnd = control;
    SetPropW(control, kOwnerProperty, this);

    wchar_t caption[64] = {};
    GetWindowTextW(control, caption, static_cast<int>(sizeof(caption) / sizeof(caption[0])));
    const std::wstring name(caption);
    m_up.Reset(LoadNamedBitmap(name + L"U"));
    m_down.Reset(LoadNamedBitmap(name + L"D"));
    m_focused.Reset(LoadNamedBitmap(name + L"F"));
    m_disabled.Reset(LoadNamedBitmap(name + L"X"));
    if (!m_up) {
        return FALSE;
    }

    BITMAP info{};
    GetObjectW(m_up.Get(), sizeof(info), &info);
    SetWindowPos(control, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

CBitmapButton* CBitmapButton::FromHandle(HWND control)
{
    return control != nullptr ? static_cast<CBitmapButton*>(GetPropW(control, kOwnerProperty)) : nullptr;
}

CBitmapButton::Face CBitmapButton::FaceFor(UINT itemState)
{
    if (itemState & ODS_SELECTED) return Face::Down;
    if (itemState & ODS_FOCUS) return Face::Focused;
    if (itemState & ODS_DISABLED) return Face::Disabled;
    return Face::Up;
}

HBITMAP CBitmapButton::BitmapFor(Face face) const
{
    HBITMAP chosen = nullptr;
    switch (face) {
    case Face::Down: chosen = m_down.Get(); break;
    case Face::Focused: chosen = m_focused.Get(); break;
    case Face::Disabled: chosen = m_disabled.Get(); break;
    case Face::Up: break;
    }
    return chosen != nullptr ? chosen : m_up.Get();
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) const
{
    HBITMAP bitmap = BitmapFor(FaceFor(item.itemState));
    if (bitmap == nullptr) {
        return;
    }
    MemoryDC source(item.hDC);
    SelectedObject selected(source.Get(), bitmap);
    const RECT& r = item.rcItem;
    BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source.Get(), 0, 0, SRCCOPY);
}
