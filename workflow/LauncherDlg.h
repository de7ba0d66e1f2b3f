#pragma once
#include <string>

#include "framework/Dialog.h"

// The launcher's main window and workflow driver. It is run modally but is
// never shown: the whole workflow runs while it initialises, and it ends by
// terminating its own process.
class CLauncherDlg : public CDialog {
public:
    explicit CLauncherDlg(HWND parent);

    int CheckCVN();
    bool RunCVN();
    bool DownloadCVN();

    const std::wstring& InstallLocation() const { return m_strInstallLocation; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    MessageTable GetMessageTable() const override;

private:
    void OnDestroy();
    INT_PTR OnDestroyMessage(WPARAM, LPARAM);
    INT_PTR OnWindowPosChanging(WPARAM, LPARAM lParam);
    INT_PTR OnEraseBackground(WPARAM, LPARAM);
    INT_PTR OnNcHitTest(WPARAM, LPARAM lParam);

    static const MessageEntry kMessages[];

    std::wstring m_strInstallLocation;
    BOOL m_bVisible = TRUE;
};
