#include "framework/Dialog.h"

#include "framework/App.h"
#include "framework/BitmapButton.h"

namespace {

// The position fields of a dialog template, in either template format.
bool TemplateIsAtOrigin(const void* data)
{
    const auto* words = static_cast<const WORD*>(data);
    if (words[0] == 1 && words[1] == 0xFFFF) {
        // DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y
        const BYTE* bytes = static_cast<const BYTE*>(data);
        const short x = *reinterpret_cast<const short*>(bytes + 18);
        const short y = *reinterpret_cast<const short*>(bytes + 20);
        return x == 0 && y == 0;
    }
    const auto* plain = static_cast<const DLGTEMPLATE*>(data);
    return plain->x == 0 && plain->y == 0;
}

}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) { }

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    CApp* app = CApp::Current();
    HINSTANCE instance = app != nullptr ? app->Instance() : GetModuleHandleW(nullptr);
    if (instance == nullptr) {
        instance = GetModuleHandleW(nullptr);
    }
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(m_templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (resource == nullptr) {
        return -1;
    }
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return -1;
    }
    m_templateAtOrigin = TemplateIsAtOrigin(data);

    HWND owner = m_parent;
    if (owner == nullptr && app != nullptr && app->MainWindow() != nullptr && app->MainWindow() != this) {
        owner = app->MainWindow()->GetSafeHwnd();
    }
    if (owner != nullptr && !IsWindow(owner)) {
        owner = nullptr;
    }
    // DialogBox disables the owner for the modal run and enables it again.
    return DialogBoxIndirectParamW(instance, static_cast<const DLGTEMPLATE*>(data), owner, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(INT_PTR result)
{
    if (m_hWnd != nullptr) {
        ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CDialog::Result(LRESULT value)
{
    SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, value);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->m_hWnd = window;
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    const INT_PTR result = self->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const MessageTable* table = GetMessageTable(); table != nullptr; table = table->base) {
        for (std::size_t i = 0; i < table->count; ++i) {
            const MessageEntry& entry = table->entries[i];
            if (entry.message != message) {
                continue;
            }
            if (message == WM_COMMAND && (entry.command != LOWORD(wParam) || HIWORD(wParam) > 1)) {
                continue;
            }
            return entry.call(*this, wParam, lParam);
        }
    }

    switch (message) {
    case WM_INITDIALOG: {
        const BOOL focusDefault = OnInitDialog();
        if (m_hWnd != nullptr && m_templateAtOrigin) {
            CentreOnOpen();
        }
        return focusDefault;
    }
    case WM_COMMAND:
        // Clicks (0) and accelerators (1) only; other notifications such as
        // an owner-drawn button's double click are not commands.
        if (HIWORD(wParam) > 1) {
            return FALSE;
        }
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        // What no dialog handles goes on to the application, as in the
        // framework this layer stands in for (its help command).
        if (CApp* app = CApp::Current()) {
            return app->OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
        }
        return FALSE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (CBitmapButton* button = CBitmapButton::FromHandle(item->hwndItem)) {
            button->DrawItem(*item);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

namespace {

// Centres `window` in `area`, kept inside `bounds`.
void CentreInRect(HWND window, const RECT& area, const RECT& bounds)
{
    RECT own;
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    if (x + width > bounds.right) x = bounds.right - width;
    if (y + height > bounds.bottom) y = bounds.bottom - height;
    if (x < bounds.left) x = bounds.left;
    if (y < bounds.top) y = bounds.top;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT WorkAreaOf(HWND reference)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(reference, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    return monitor.rcWork;
}

}  // namespace

void CDialog::CentreOnOpen()
{
    // A dialog placed at (0, 0) opens centred: over a visible owner, else on
    // the work area of the screen that holds the application's main window.
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    HWND reference = owner;
    CApp* app = CApp::Current();
    if (app != nullptr && app->MainWindow() != nullptr && app->MainWindow()->GetSafeHwnd() != nullptr) {
        reference = app->MainWindow()->GetSafeHwnd();
    }
    const RECT work = WorkAreaOf(reference != nullptr ? reference : m_hWnd);
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        RECT ownerRect;
        GetWindowRect(owner, &ownerRect);
        CentreInRect(m_hWnd, ownerRect, work);
        return;
    }
    CentreInRect(m_hWnd, work, work);
}
