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
    const MessageTable* GetMessageTable() const override { return &kMessageTable; }

private:
    void OnDestroy();
    void OnWindowPosChanging(WINDOWPOS& change);
    BOOL OnEraseBackground(HDC);
    LRESULT OnNcHitTest(POINT point);

    static const MessageEntry kMessages[];
    static const MessageTable kMessageTable;

    std::wstring m_strInstallLocation;
    BOOL m_bVisible = TRUE;
};
