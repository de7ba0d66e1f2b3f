#pragma once
// Answers for screen readers (Microsoft Active Accessibility). A window
// hands out a CAccessibleProxy that wraps the platform's standard object for
// it and changes only what the window knows better: a skinned dialog paints
// its texts, and a bitmap button's caption names bitmaps, not what its face
// says.
#include <windows.h>
#include <oleacc.h>

#include "framework/ScopedHandles.h"

// Whether the window that accessible objects answer for is still there. A
// screen reader keeps the objects it was given and calls them later, when
// the window and the C++ objects behind it may be gone. So the window holds
// one of these and ends it when it goes; every object it handed out holds
// it too and from then on answers every call with CO_E_OBJNOTCONNECTED,
// touching nothing of the window. The last holder releases it.
class CAccessibleLife {
public:
    static CAccessibleLife* Create();  // one reference, the caller's
    void AddRef() { InterlockedIncrement(&m_references); }
    void Release();
    void End() { m_alive = false; }
    bool Alive() const { return m_alive; }

private:
    CAccessibleLife() = default;
    LONG m_references = 1;
    volatile bool m_alive = true;
};
struct AccessibleLifeKind {
    static void Release(CAccessibleLife* life) { life->Release(); }
    static bool IsNone(const CAccessibleLife* life) { return life == nullptr; }
};
using OwnedAccessibleLife = Owned<CAccessibleLife*, AccessibleLifeKind>;

class CAccessibleProxy : public IAccessible {
public:
    // The answer to WM_GETOBJECT for `proxy`, which is handed over (null:
    // 0, the default handling). The platform's helpers are loaded from the
    // system folder on first use: a screen reader is rarely there.
    static LRESULT Answer(CAccessibleProxy* proxy, WPARAM wParam);

    // The platform's standard object `objectId` (OBJID_CLIENT,
    // OBJID_WINDOW) of `window`, or null.
    static IAccessible* StandardObject(HWND window, LONG objectId);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;
    // IAccessible: the standard object's answers unless a derived class
    // knows better. One line each reads as the table it is.
    // clang-format off
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return Standard(&IAccessible::get_accParent, parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return Standard(&IAccessible::get_accChildCount, count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override { return Standard(&IAccessible::get_accChild, child, object); }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override { return Standard(&IAccessible::get_accName, child, name); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return Standard(&IAccessible::get_accValue, child, value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override { return Standard(&IAccessible::get_accDescription, child, description); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return Standard(&IAccessible::get_accRole, child, role); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override { return Standard(&IAccessible::get_accState, child, state); }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return Standard(&IAccessible::get_accHelp, child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override { return Standard(&IAccessible::get_accHelpTopic, file, child, topic); }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override { return Standard(&IAccessible::get_accKeyboardShortcut, child, shortcut); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return Standard(&IAccessible::get_accFocus, child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return Standard(&IAccessible::get_accSelection, children); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override { return Standard(&IAccessible::get_accDefaultAction, child, action); }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return Standard(&IAccessible::accSelect, flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override { return Standard(&IAccessible::accLocation, left, top, width, height, child); }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override { return Standard(&IAccessible::accNavigate, direction, start, end); }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override { return Standard(&IAccessible::accHitTest, x, y, child); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return Standard(&IAccessible::accDoDefaultAction, child); }
    // clang-format on
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

protected:
    // Takes over `standard` (may be null: then the proxy answers alone) and
    // holds `life`, the window's.
    CAccessibleProxy(IAccessible* standard, CAccessibleLife* life);
    virtual ~CAccessibleProxy();
    CAccessibleProxy(const CAccessibleProxy&) = delete;
    CAccessibleProxy& operator=(const CAccessibleProxy&) = delete;

    static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
    // A new BSTR of `text` in *out; S_FALSE and null for an empty text.
    static HRESULT TextResult(const wchar_t* text, BSTR* out);
    // A VT_I4 `value` (a role, a state, a child id) in *out.
    static HRESULT IntegerResult(long value, VARIANT* out);

    // False once the window has gone: every call then returns kGone.
    bool Connected() const { return m_life.Get()->Alive(); }
    static constexpr HRESULT kGone = CO_E_OBJNOTCONNECTED;

    // The standard object's answer (E_NOTIMPL without one), while the
    // window is there.
    template <class... Parameters, class... Arguments>
    HRESULT Standard(HRESULT (STDMETHODCALLTYPE IAccessible::*method)(Parameters...), Arguments... arguments)
    {
        if (!Connected()) return kGone;
        return m_standard ? (m_standard.Get()->*method)(arguments...) : E_NOTIMPL;
    }

    OwnedInterface<IAccessible> m_standard;

private:
    OwnedAccessibleLife m_life;
    LONG m_references = 1;
};
