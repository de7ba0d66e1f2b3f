#pragma once
// The two skinned message dialogs: the notice (one OK button) and the
// question (OK and EXIT). A dialog whose title and message are both empty
// closes itself with IDOK before it is ever shown.
#include <string>

#include "skin/SkinnedMessageDialog.h"

class CAFXOKBIG : public CSkinnedMessageDialog {
public:
    CAFXOKBIG(HWND parent, std::wstring title, std::wstring message);
    static const SkinLayout kLayout;

protected:
    void OnOK() override;
    void BindButtons() override;

private:
    CBitmapButton m_btnOK;
};

class CASFXYESNO : public CSkinnedMessageDialog {
public:
    CASFXYESNO(HWND parent, std::wstring title, std::wstring message);
    static const SkinLayout kLayout;

protected:
    void BindButtons() override;

private:
    CBitmapButton m_btnOK;
    CBitmapButton m_btnExit;
};

// Shows the notice modally and returns when it is closed.
void ShowNotice(std::wstring title, std::wstring text);

// Shows the question modally: IDOK after OK, IDCANCEL after EXIT, Esc or
// the system close, -1 when the dialog can't be created.
int AskConfirm(std::wstring title, std::wstring text);
