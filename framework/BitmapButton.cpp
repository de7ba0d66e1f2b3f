#include "framework/BitmapButton.h"

#include <utility>

namespace {
const wchar_t kOwnerProperty[] = L"CBitmapButton";

// A push button named by its face. Wine's standard object gives an owner-
// drawn button the plain client role and no name; Windows gives it its
// caption, which here names bitmaps. So role, name, state and the default
// action are all answered here.
// The button's window is used only while it is there (Connected()).
class CBitmapButtonAccessible : public CAccessibleProxy {
public:
    CBitmapButtonAccessible(HWND button, const std::wstring& name, CAccessibleLife* life)
        : CAccessibleProxy(StandardObject(button, OBJID_CLIENT), life), m_button(button), m_name(name)
    {
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!Connected()) return kGone;
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!Connected()) return kGone;
        return IsSelf(child) ? TextResult(m_name.c_str(), name) : E_INVALIDARG;
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!Connected()) return kGone;
        return IsSelf(child) ? IntegerResult(ROLE_SYSTEM_PUSHBUTTON, role) : E_INVALIDARG;
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!Connected()) return kGone;
        if (!IsSelf(child)) return E_INVALIDARG;
        long bits = STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == m_button) bits |= STATE_SYSTEM_FOCUSED;
        if (SendMessageW(m_button, BM_GETSTATE, 0, 0) & BST_PUSHED) bits |= STATE_SYSTEM_PRESSED;
        if (!IsWindowEnabled(m_button)) bits |= STATE_SYSTEM_UNAVAILABLE;
        if (!IsWindowVisible(m_button)) bits |= STATE_SYSTEM_INVISIBLE;
        return IntegerResult(bits, state);
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!Connected()) return kGone;
        return IsSelf(child) ? TextResult(L"Press", action) : E_INVALIDARG;
    }

    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!Connected()) return kGone;
        if (!IsSelf(child)) return E_INVALIDARG;
        if (!IsWindowEnabled(m_button)) return E_FAIL;
        // Posted: the click may end the dialog, which must not happen
        // inside a screen reader's call.
        PostMessageW(m_button, BM_CLICK, 0, 0);
        return S_OK;
    }

private:
    HWND m_button;
    std::wstring m_name;
};

HBITMAP LoadNamedBitmap(const std::wstring& name)
{
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}
}  // namespace

CBitmapButton::~CBitmapButton()
{
    m_accessibleLife.Get()->End();
    if (m_hWnd != nullptr && IsWindow(m_hWnd) && FromHandle(m_hWnd) == this) {
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_controlProc));
        RemovePropW(m_hWnd, kOwnerProperty);
    }
}

CAccessibleProxy* CBitmapButton::CreateAccessible() const
{
    return new CBitmapButtonAccessible(m_hWnd, m_accessibleName, m_accessibleLife.Get());
}

LRESULT CALLBACK CBitmapButton::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    CBitmapButton* self = FromHandle(control);
    if (self == nullptr) {
        return DefWindowProcW(control, message, wParam, lParam);
    }
    const WNDPROC original = self->m_controlProc;
    if (message == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
        return CAccessibleProxy::Answer(self->CreateAccessible(), wParam);
    }
    // An owner-drawn button is no push button to the dialog manager, which
    // would answer Enter with the default button whatever has the focus.
    // The button takes Enter itself and presses as a push button does.
    if (message == WM_GETDLGCODE) {
        LRESULT code = CallWindowProcW(original, control, message, wParam, lParam);
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->wParam == VK_RETURN &&
            (key->message == WM_KEYDOWN || key->message == WM_CHAR)) {
            code |= DLGC_WANTMESSAGE;
        }
        return code;
    }
    if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_RETURN) {
        if (message == WM_KEYDOWN && IsWindowEnabled(control)) {
            PostMessageW(control, BM_CLICK, 0, 0);
        }
        return 0;
    }
    if (message == WM_NCDESTROY) {
        // The window goes first; the object may outlive it, and so may the
        // accessible objects a screen reader holds.
        self->m_accessibleLife.Get()->End();
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(control, kOwnerProperty);
        self->m_hWnd = nullptr;
    }
    return CallWindowProcW(original, control, message, wParam, lParam);
}

BOOL CBitmapButton::AutoLoad(UINT id, HWND dialog)
{
    HWND control = GetDlgItem(dialog, static_cast<int>(id));
    if (control == nullptr) {
        return FALSE;
    }
    m_hWnd = control;
    SetPropW(control, kOwnerProperty, this);
    // Our procedure in front of the control's, to answer screen readers.
    m_controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CBitmapButton::ControlProc)));
    return LoadCaptionFaces();
}

BOOL CBitmapButton::LoadCaptionFaces()
{
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    wchar_t caption[64] = {};
    GetWindowTextW(m_hWnd, caption, static_cast<int>(sizeof(caption) / sizeof(caption[0])));
    const std::wstring name(caption);
    if (m_accessibleName.empty()) {
        m_accessibleName = name;
    }
    m_up.Reset(LoadNamedBitmap(name + L"U"));
    m_down.Reset(LoadNamedBitmap(name + L"D"));
    m_focused.Reset(LoadNamedBitmap(name + L"F"));
    m_disabled.Reset(LoadNamedBitmap(name + L"X"));
    if (!m_up) {
        return FALSE;
    }

    BITMAP info{};
    GetObjectW(m_up.Get(), sizeof(info), &info);
    SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return TRUE;
}

BOOL CBitmapButton::SetFaces(HBITMAP up, HBITMAP down, HBITMAP focused, HBITMAP disabled, SIZE size)
{
    OwnedBitmap newUp(up);
    OwnedBitmap newDown(down);
    OwnedBitmap newFocused(focused);
    OwnedBitmap newDisabled(disabled);
    if (!newUp) {
        return FALSE;
    }
    m_up = std::move(newUp);
    m_down = std::move(newDown);
    m_focused = std::move(newFocused);
    m_disabled = std::move(newDisabled);
    if (m_hWnd != nullptr) {
        SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(m_hWnd, nullptr, FALSE);
    }
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
    case Face::Down:
        chosen = m_down.Get();
        break;
    case Face::Focused:
        chosen = m_focused.Get();
        break;
    case Face::Disabled:
        chosen = m_disabled.Get();
        break;
    case Face::Up:
        break;
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
