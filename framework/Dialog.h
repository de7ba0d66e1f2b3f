#pragma once
// Modal dialog base. A derived class names its template, overrides
// OnInitDialog / OnOK / OnCancel as it needs, and binds further messages and
// commands to its members with a static message table (MessageMap.h),
// which chains to its base class's table: the most-derived table is read
// first, then each base's, then the defaults here.
#include <windows.h>

#include <cstddef>

class CDialog {
public:
    // Unpacks a message's arguments and calls the bound member with them
    // typed. Answers as a dialog procedure does: FALSE passes the message on
    // to the default handling, TRUE ends it (with a value set by Result()).
    using Cracker = INT_PTR (*)(CDialog& dialog, WPARAM wParam, LPARAM lParam);
    struct MessageEntry {
        UINT message;
        UINT command;  // control id for WM_COMMAND entries, else 0
        Cracker call;
    };
    struct MessageTable {
        const MessageEntry* entries;
        std::size_t count;
        const MessageTable* base;  // the base class's table, read after this one
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
    // The most-derived class's table, or null.
    virtual const MessageTable* GetMessageTable() const { return nullptr; }

    // Sets the message's result value and reports it handled.
    INT_PTR Result(LRESULT value);
    template <class Dialog>
    friend class MessageMap;

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void CentreOnOpen();

    UINT m_templateId;
    HWND m_parent;
    bool m_templateAtOrigin = false;
};
