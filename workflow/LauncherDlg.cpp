#include "workflow/LauncherDlg.h"

#include "framework/MessageMap.h"
#include "framework/ProcessState.h"
#include "framework/Trace.h"
#include "monitor/ProcessLookup.h"
#include "res/resource.h"
#include "skin/MessageDialogs.h"
#include "skin/SkinHelpers.h"
#include "workflow/MessageText.h"

namespace {
using Map = MessageMap<CLauncherDlg>;
}

constexpr CDialog::MessageEntry CLauncherDlg::kMessages[] = {
    Map::Command<IDC_LAUNCHER_CLOSE, &CLauncherDlg::OnDestroy>(),
    Map::Destroy<&CLauncherDlg::OnDestroy>(),
    Map::WindowPosChanging<&CLauncherDlg::OnWindowPosChanging>(),
    Map::EraseBackground<&CLauncherDlg::OnEraseBackground>(),
    Map::NcHitTest<&CLauncherDlg::OnNcHitTest>(),
};
constexpr CDialog::MessageTable CLauncherDlg::kMessageTable = Map::Table(kMessages);

CLauncherDlg::CLauncherDlg(HWND parent) : CDialog(IDD_LAUNCHER, parent) { }

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

void CLauncherDlg::OnWindowPosChanging(WINDOWPOS& change)
{
    if (!m_bVisible) {
        change.flags &= ~SWP_SHOWWINDOW;
    }
}

BOOL CLauncherDlg::OnEraseBackground(HDC)
{
    return TRUE;  // reported erased, nothing painted
}

LRESULT CLauncherDlg::OnNcHitTest(POINT point)
{
    // Never shown, so rarely asked: its scale is looked up when it is.
    return CaptionStripHitTest(m_hWnd, point, ScaleOfWindow(m_hWnd));
}
