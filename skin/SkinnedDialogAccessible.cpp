#include "skin/SkinnedDialogAccessible.h"

#include "framework/BitmapButton.h"
#include "framework/ScopedHandles.h"

namespace {

const long kMessageChild = 1;

// Holds copies of the texts and the windows' handles, never a pointer into
// the dialog: a button's object is looked up from its window only while the
// dialog is there (Connected()), and the dialog's window outlives its
// buttons' windows.
class CSkinnedDialogAccessible : public CAccessibleProxy {
public:
    CSkinnedDialogAccessible(HWND dialog, const std::wstring& title, const std::wstring& message,
                             const SkinLayout& layout, const SkinScale& scale, CAccessibleLife* life)
        : CAccessibleProxy(StandardObject(dialog, OBJID_CLIENT), life), m_dialog(dialog), m_title(title),
          m_message(message), m_messageRect(scale.Rect(layout.messageRect))
    {
        for (const SkinButtonPlace& place : layout.buttons) {
            HWND control = GetDlgItem(dialog, static_cast<int>(place.controlId));
            if (CBitmapButton::FromHandle(control) != nullptr) {
                m_buttons[m_buttonCount++] = control;
            }
        }
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!Connected()) return kGone;
        if (count == nullptr) return E_POINTER;
        *count = kMessageChild + static_cast<long>(m_buttonCount);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        if (!Connected()) return kGone;
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        const long id = ChildId(child);
        if (id == kMessageChild) return S_FALSE;  // a simple element, answered here
        CBitmapButton* button = ButtonOf(id);
        if (button == nullptr) return E_INVALIDARG;
        *object = button->CreateAccessible();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!Connected()) return kGone;
        const long id = ChildId(child);
        if (id == CHILDID_SELF) return TextResult(m_title.c_str(), name);
        if (id == kMessageChild) return TextResult(m_message.c_str(), name);
        return AskButton(id, [&](IAccessible* a) { return a->get_accName(Self(), name); });
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        if (!Connected()) return kGone;
        const long id = ChildId(child);
        if (id == CHILDID_SELF) return TextResult(m_message.c_str(), description);
        if (id == kMessageChild) return TextResult(nullptr, description);
        return AskButton(id, [&](IAccessible* a) { return a->get_accDescription(Self(), description); });
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        if (!Connected()) return kGone;
        const long id = ChildId(child);
        if (id == CHILDID_SELF) return CAccessibleProxy::get_accValue(child, value);
        if (id == kMessageChild) return TextResult(nullptr, value);
        return AskButton(id, [&](IAccessible* a) { return a->get_accValue(Self(), value); });
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!Connected()) return kGone;
        const long id = ChildId(child);
        if (id == CHILDID_SELF) return IntegerResult(ROLE_SYSTEM_DIALOG, role);
        if (id == kMessageChild) return IntegerResult(ROLE_SYSTEM_STATICTEXT, role);
        return AskButton(id, [&](IAccessible* a) { return a->get_accRole(Self(), role); });
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!Connected()) return kGone;
        const long id = ChildId(child);
        if (id == CHILDID_SELF) return CAccessibleProxy::get_accState(child, state);
        if (id == kMessageChild) return IntegerResult(STATE_SYSTEM_READONLY, state);
        return AskButton(id, [&](IAccessible* a) { return a->get_accState(Self(), state); });
    }

    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override
    {
        if (!Connected()) return kGone;
        if (child == nullptr) return E_POINTER;
        child->vt = VT_EMPTY;
        const HWND focus = GetFocus();
        if (focus == m_dialog) return Element(CHILDID_SELF, child);
        for (std::size_t i = 0; i < m_buttonCount; ++i) {
            if (m_buttons[i] == focus) return Element(ButtonId(i), child);
        }
        return S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (!Connected()) return kGone;
        const long id = ChildId(child);
        if (id == CHILDID_SELF) return CAccessibleProxy::accLocation(left, top, width, height, child);
        if (id != kMessageChild) {
            return AskButton(id, [&](IAccessible* a) { return a->accLocation(left, top, width, height, Self()); });
        }
        RECT r = m_messageRect;
        MapWindowPoints(m_dialog, nullptr, reinterpret_cast<POINT*>(&r), 2);
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override
    {
        if (!Connected()) return kGone;
        if (child == nullptr) return E_POINTER;
        child->vt = VT_EMPTY;
        POINT point = {x, y};
        ScreenToClient(m_dialog, &point);
        RECT client{};
        GetClientRect(m_dialog, &client);
        if (!PtInRect(&client, point)) return S_FALSE;
        for (std::size_t i = 0; i < m_buttonCount; ++i) {
            RECT r{};
            GetWindowRect(m_buttons[i], &r);
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return Element(ButtonId(i), child);
        }
        return Element(PtInRect(&m_messageRect, point) ? kMessageChild : CHILDID_SELF, child);
    }

    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!Connected()) return kGone;
        if (end == nullptr) return E_POINTER;
        end->vt = VT_EMPTY;
        const long id = ChildId(start);
        const long last = kMessageChild + static_cast<long>(m_buttonCount);
        long target = 0;
        if (id == CHILDID_SELF && direction == NAVDIR_FIRSTCHILD) target = kMessageChild;
        else if (id == CHILDID_SELF && direction == NAVDIR_LASTCHILD)
            target = last;
        else if (id == CHILDID_SELF)
            return CAccessibleProxy::accNavigate(direction, start, end);
        else if (id < kMessageChild || id > last)
            return E_INVALIDARG;
        else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT)
            target = id + 1;
        else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT)
            target = id - 1;
        if (target < kMessageChild || target > last) return S_FALSE;
        return Element(target, end);
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!Connected()) return kGone;
        const long id = ChildId(child);
        if (id == CHILDID_SELF) return CAccessibleProxy::get_accDefaultAction(child, action);
        if (id == kMessageChild) return TextResult(nullptr, action);
        return AskButton(id, [&](IAccessible* a) { return a->get_accDefaultAction(Self(), action); });
    }

    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!Connected()) return kGone;
        const long id = ChildId(child);
        if (id == CHILDID_SELF) return CAccessibleProxy::accDoDefaultAction(child);
        if (id == kMessageChild) return DISP_E_MEMBERNOTFOUND;
        return AskButton(id, [&](IAccessible* a) { return a->accDoDefaultAction(Self()); });
    }

private:
    static long ChildId(const VARIANT& child) { return child.vt == VT_I4 ? child.lVal : -1; }

    static VARIANT Self()
    {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }

    static long ButtonId(std::size_t index) { return kMessageChild + 1 + static_cast<long>(index); }

    // Child `id` as a client expects it: a button as its own object, the
    // message and the dialog itself by id.
    HRESULT Element(long id, VARIANT* out) const
    {
        if (out == nullptr) return E_POINTER;
        if (CBitmapButton* button = ButtonOf(id)) {
            out->vt = VT_DISPATCH;
            out->pdispVal = button->CreateAccessible();
            return S_OK;
        }
        return IntegerResult(id, out);
    }

    CBitmapButton* ButtonOf(long id) const
    {
        const long index = id - kMessageChild - 1;
        return index >= 0 && index < static_cast<long>(m_buttonCount) ? CBitmapButton::FromHandle(m_buttons[index])
                                                                      : nullptr;
    }

    // A question about button child `id`, answered by the button's own
    // object; E_INVALIDARG for an id that is no button.
    template <class Call>
    HRESULT AskButton(long id, Call call) const
    {
        CBitmapButton* button = ButtonOf(id);
        if (button == nullptr) return E_INVALIDARG;
        OwnedInterface<IAccessible> accessible(button->CreateAccessible());
        return call(accessible.Get());
    }

    HWND m_dialog;
    std::wstring m_title;
    std::wstring m_message;
    RECT m_messageRect;
    HWND m_buttons[kMaxSkinButtons] = {};
    std::size_t m_buttonCount = 0;
};

// The window object, which Windows names after the window text ("RZ_K",
// kept for tools): named by the title, as the client object is.
class CSkinnedWindowAccessible : public CAccessibleProxy {
public:
    CSkinnedWindowAccessible(HWND dialog, const std::wstring& title, CAccessibleLife* life)
        : CAccessibleProxy(StandardObject(dialog, OBJID_WINDOW), life), m_title(title)
    {
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!Connected()) return kGone;
        return IsSelf(child) ? TextResult(m_title.c_str(), name) : CAccessibleProxy::get_accName(child, name);
    }

private:
    std::wstring m_title;
};

}  // namespace

CAccessibleProxy* CreateSkinnedDialogAccessible(HWND dialog, const std::wstring& title,
                                                const std::wstring& message, const SkinLayout& layout,
                                                const SkinScale& scale, CAccessibleLife* life)
{
    return new CSkinnedDialogAccessible(dialog, title, message, layout, scale, life);
}

CAccessibleProxy* CreateSkinnedWindowAccessible(HWND dialog, const std::wstring& title, CAccessibleLife* life)
{
    return new CSkinnedWindowAccessible(dialog, title, life);
}
