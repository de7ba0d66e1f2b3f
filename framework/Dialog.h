#pragma once
// Modal dialog base. A derived class names its template, overrides
// OnInitDialog / OnOK / OnCancel as it needs, and binds further messages and
// commands to its members with a static constexpr message table, which the
// base scans before its own defaults.
#include <windows.h>

#include <cstddef>

class CDialog {
public:
    // A handler answers as a dialog procedure does: FALSE passes the
    // message on to the default handling, TRUE ends it (use Result() to
    // hand back a value as well).
    using Handler = INT_PTR (CDialog::*)(WPARAM, LPARAM);
    struct MessageEntry {
        UINT message;
        UINT command;  // control id for WM_COMMAND entries, else 0
        Handler handler;
    };
    struct MessageTable {
        const MessageEntry* entries;
        std::size_t count;
    };

    CDialog(UINT templateId, HWND parent);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally: IDOK, IDCANCEL or whatever EndDialog was
    // given, -1 when the dialog can't be created. Without a parent the
    // application's main window owns the dialog and is disabled meanwhile.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);

    HWND GetSafeHwnd() const { return m_hWnd; }

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual MessageTable GetMessageTable() const { return {nullptr, 0}; }

    // Sets the message's result value and reports it handled.
    INT_PTR Result(LRESULT value);

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void CentreOnOpen();

    UINT m_templateId;
    HWND m_parent;
    bool m_templateAtOrigin = false;
};
