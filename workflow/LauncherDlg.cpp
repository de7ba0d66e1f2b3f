#include "workflow/LauncherDlg.h"

#include "framework/ProcessState.h"
#include "framework/Trace.h"
#include "monitor/ProcessLookup.h"
#include "res/resource.h"
#include "skin/MessageDialogs.h"
#include "skin/SkinHelpers.h"
#include "workflow/MessageText.h"

constexpr CDialog::MessageEntry CLauncherDlg::kMessages[] = {
    {WM_COMMAND, IDC_LAUNCHER_CLOSE, static_cast<Handler>(&CLauncherDlg::OnDestroyMessage)},
    {WM_DESTROY, 0, static_cast<Handler>(&CLauncherDlg::OnDestroyMessage)},
    {WM_WINDOWPOSCHANGING, 0, static_cast<Handler>(&CLauncherDlg::OnWindowPosChanging)},
    {WM_ERASEBKGND, 0, static_cast<Handler>(&CLauncherDlg::OnEraseBackground)},
    {WM_NCHITTEST, 0, static_cast<Handler>(&CLauncherDlg::OnNcHitTest)},
};

CLauncherDlg::CLauncherDlg(HWND parent) : CDialog(IDD_LAUNCHER, parent) { }

CDialog::MessageTable CLauncherDlg::GetMessageTable() const
{
    return {kMessages, sizeof(kMessages) / sizeof(kMessages[0])};
}

BOOL CLauncherDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    MoveWindow(m_hWnd, 50, 50, 300, 402, TRUE);

    // The warm-up of the start sequence: each message dialog runs once with
    // empty texts, which closes it before it is shown (and announces
    // nothing to a screen reader).
    ShowNotice(L"", L"");
    AskConfirm(L"", L"");

    if (g_bLangSupported == 0) {
        ShowNotice(kMessageTitle, LoadMessageText(IDS_LANGUAGE_NOT_SUPPORTED));
    }

    m_bVisible = FALSE;
    ApplyRoundedRegion(m_hWnd);
    OnOK();
    return TRUE;
}

void CLauncherDlg::OnOK()
{
    Trace(L"[RZ_K] Start. Action!.");
    EnableWindow(GetDlgItem(m_hWnd, IDOK), FALSE);

    if (CheckCVN() == 1) {
        ShowNotice(kMessageTitle, LoadMessageText(IDS_CVN_INSTALLED));
        RunCVN();
    } else if (AskConfirm(kMessageTitle, LoadMessageText(IDS_CVN_DOWNLOAD_QUESTION)) == IDOK) {
        DownloadCVN();
    }

    // One message that arrived meanwhile (a click that came too late, a
    // repaint) is handled before the process ends itself; no more.
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) &&
        message.message != WM_QUIT) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    Trace(L"[RZ_K] End. Zzz..");
    OnDestroy();
}

void CLauncherDlg::OnCancel()
{
    OnDestroy();
}

void CLauncherDlg::OnDestroy()
{
    Trace(L"[RZ_K] OnDestroy()");
    g_bCheckCDFS = 0;
    TerminateProcessWithExitCodeZero(GetCurrentProcessId());
    // Only reached when the process could not be ended from inside.
    CDialog::OnCancel();
}

INT_PTR CLauncherDlg::OnDestroyMessage(WPARAM, LPARAM)
{
    OnDestroy();
    return TRUE;
}

INT_PTR CLauncherDlg::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    if (!m_bVisible) {
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
    }
    return FALSE;
}

INT_PTR CLauncherDlg::OnEraseBackground(WPARAM, LPARAM)
{
    return Result(1);
}

INT_PTR CLauncherDlg::OnNcHitTest(WPARAM, LPARAM lParam)
{
    // Never shown, so rarely asked: its scale is looked up when it is.
    return Result(CaptionStripHitTest(m_hWnd, PointFromHitTestMessage(lParam), ScaleOfWindow(m_hWnd)));
}
