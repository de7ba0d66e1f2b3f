#pragma once
// Entries of a dialog class's message table: each binds a message to a
// member of `Dialog` that takes the message's arguments unpacked and typed,
// so no handler casts a WPARAM or LPARAM itself.
//
//   using Map = MessageMap<CMyDialog>;
//   constexpr CDialog::MessageEntry CMyDialog::kMessages[] = {
//       Map::Paint<&CMyDialog::OnPaint>(),
//       Map::Command<IDC_X, &CMyDialog::OnX>(),
//   };
//   const CDialog::MessageTable CMyDialog::kMessageTable = Map::Table(kMessages, &CBase::kMessageTable);
#include <windowsx.h>

#include "framework/Dialog.h"

template <class Dialog>
class MessageMap {
public:
    template <std::size_t N>
    static constexpr CDialog::MessageTable Table(const CDialog::MessageEntry (&entries)[N],
                                                 const CDialog::MessageTable* base = nullptr)
    {
        return {entries, N, base};
    }

    // WM_PAINT: void OnPaint(); the default handling then validates.
    template <void (Dialog::*F)()>
    static constexpr CDialog::MessageEntry Paint()
    {
        return {WM_PAINT, 0, [](CDialog& d, WPARAM, LPARAM) -> INT_PTR {
                    (Self(d).*F)();
                    return FALSE;
                }};
    }
    // WM_ERASEBKGND: BOOL OnEraseBackground(HDC), non-zero when erased.
    template <BOOL (Dialog::*F)(HDC)>
    static constexpr CDialog::MessageEntry EraseBackground()
    {
        return {WM_ERASEBKGND, 0, [](CDialog& d, WPARAM wParam, LPARAM) -> INT_PTR {
                    return d.Result((Self(d).*F)(reinterpret_cast<HDC>(wParam)));
                }};
    }
    // WM_NCHITTEST: LRESULT OnNcHitTest(POINT screenPoint), a hit-test code.
    template <LRESULT (Dialog::*F)(POINT)>
    static constexpr CDialog::MessageEntry NcHitTest()
    {
        return {WM_NCHITTEST, 0, [](CDialog& d, WPARAM, LPARAM lParam) -> INT_PTR {
                    return d.Result((Self(d).*F)(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
                }};
    }
    // WM_GETOBJECT: LRESULT OnGetObject(DWORD flags, LONG objectId); 0 for
    // the default handling.
    template <LRESULT (Dialog::*F)(DWORD, LONG)>
    static constexpr CDialog::MessageEntry ObjectRequest()
    {
        return {WM_GETOBJECT, 0, [](CDialog& d, WPARAM wParam, LPARAM lParam) -> INT_PTR {
                    const LRESULT answer = (Self(d).*F)(static_cast<DWORD>(wParam), static_cast<LONG>(lParam));
                    return answer != 0 ? d.Result(answer) : FALSE;
                }};
    }
    // WM_DPICHANGED: void OnDpiChanged(UINT dpi, const RECT* suggested).
    template <void (Dialog::*F)(UINT, const RECT*)>
    static constexpr CDialog::MessageEntry DpiChanged()
    {
        return {WM_DPICHANGED, 0, [](CDialog& d, WPARAM wParam, LPARAM lParam) -> INT_PTR {
                    (Self(d).*F)(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
                    return d.Result(0);
                }};
    }
    // WM_WINDOWPOSCHANGING: void OnWindowPosChanging(WINDOWPOS&), which may
    // change the request; the default handling follows.
    template <void (Dialog::*F)(WINDOWPOS&)>
    static constexpr CDialog::MessageEntry WindowPosChanging()
    {
        return {WM_WINDOWPOSCHANGING, 0, [](CDialog& d, WPARAM, LPARAM lParam) -> INT_PTR {
                    (Self(d).*F)(*reinterpret_cast<WINDOWPOS*>(lParam));
                    return FALSE;
                }};
    }
    // WM_DESTROY: void OnDestroy(); the default handling follows.
    template <void (Dialog::*F)()>
    static constexpr CDialog::MessageEntry Destroy()
    {
        return {WM_DESTROY, 0, [](CDialog& d, WPARAM, LPARAM) -> INT_PTR {
                    (Self(d).*F)();
                    return FALSE;
                }};
    }
    // WM_TIMER: void OnTimer(UINT_PTR id).
    template <void (Dialog::*F)(UINT_PTR)>
    static constexpr CDialog::MessageEntry Timer()
    {
        return {WM_TIMER, 0, [](CDialog& d, WPARAM wParam, LPARAM) -> INT_PTR {
                    (Self(d).*F)(static_cast<UINT_PTR>(wParam));
                    return TRUE;
                }};
    }
    // WM_COMMAND from control `id` (a click or an accelerator): void OnX().
    template <UINT id, void (Dialog::*F)()>
    static constexpr CDialog::MessageEntry Command()
    {
        return {WM_COMMAND, id, [](CDialog& d, WPARAM, LPARAM) -> INT_PTR {
                    (Self(d).*F)();
                    return TRUE;
                }};
    }

private:
    static Dialog& Self(CDialog& dialog) { return static_cast<Dialog&>(dialog); }
};
