#include "skin/MessageDialogs.h"

#include <utility>

#include "Profile.h"
#include "res/resource.h"

namespace {
const SkinButtonPlace kNoticeButtons[] = {{IDOK, {164, 115, 247, 138}}};
// Repainted 22 rows high at 96 dots, one less than the faces: the bottom
// edge is 124, as the reference layout has it.
const SkinButtonPlace kQuestionButtons[] = {{IDOK, {38, 102, 121, 124}}, {IDCANCEL, {141, 102, 224, 124}}};
}  // namespace

// Template, background image and its size, message rectangle, buttons,
// topmost, and the trace of the warm-up that closes it unseen.
const SkinLayout CAFXOKBIG::kLayout = {
    IDD_NOTICE, IDB_NOTICE_BACKGROUND,  {401, 156}, {50, 52, 350, 100}, kNoticeButtons,
    true,       L"[RZ_K] CAFXOKBIG SET"};

const SkinLayout CASFXYESNO::kLayout = {
    IDD_QUESTION, IDB_QUESTION_BACKGROUND, {264, 156}, {26, 42, 241, 90}, kQuestionButtons,
    false,        L"[RZ_K] CASFXYESNO SET"};

CAFXOKBIG::CAFXOKBIG(HWND parent, std::wstring title, std::wstring message)
    : CSkinnedMessageDialog(kLayout, parent, std::move(title), std::move(message))
{
}

void CAFXOKBIG::BindButtons()
{
    m_btnOK.SetAccessibleName(CVN_FACE_OK_LABEL);
    m_btnOK.AutoLoad(IDOK, m_hWnd);
}

// OK, the user's acknowledgement, empties the notice's texts; Esc leaves
// them. Callers see the same either way: they only look at the result.
void CAFXOKBIG::OnOK()
{
    m_strTitle.clear();
    m_strMessage.clear();
    CSkinnedMessageDialog::OnOK();
}

CASFXYESNO::CASFXYESNO(HWND parent, std::wstring title, std::wstring message)
    : CSkinnedMessageDialog(kLayout, parent, std::move(title), std::move(message))
{
}

void CASFXYESNO::BindButtons()
{
    m_btnOK.SetAccessibleName(CVN_FACE_OK_LABEL);
    m_btnOK.AutoLoad(IDOK, m_hWnd);
    // The controls are captioned "OK" and "EXIT" after their bitmaps; a
    // screen reader says what their faces show, the profile's labels.
    m_btnExit.SetAccessibleName(CVN_FACE_EXIT_LABEL);
    m_btnExit.AutoLoad(IDCANCEL, m_hWnd);
}

void ShowNotice(std::wstring title, std::wstring text)
{
    CAFXOKBIG dialog(nullptr, std::move(title), std::move(text));
    dialog.DoModal();
}

int AskConfirm(std::wstring title, std::wstring text)
{
    CASFXYESNO dialog(nullptr, std::move(title), std::move(text));
    return static_cast<int>(dialog.DoModal());
}
