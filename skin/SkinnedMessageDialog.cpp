#include "skin/SkinnedMessageDialog.h"

#include <utility>

#include "framework/ScopedHandles.h"
#include "framework/Trace.h"
#include "skin/SkinHelpers.h"
#include "skin/SkinnedDialogAccessible.h"

namespace {

HFONT CreateArial(int height, int weight)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                       CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Arial");
}

}  // namespace

constexpr CDialog::MessageEntry CSkinnedMessageDialog::kMessages[] = {
    {WM_PAINT, 0, static_cast<Handler>(&CSkinnedMessageDialog::OnPaint)},
    {WM_ERASEBKGND, 0, static_cast<Handler>(&CSkinnedMessageDialog::OnEraseBackground)},
    {WM_NCHITTEST, 0, static_cast<Handler>(&CSkinnedMessageDialog::OnNcHitTest)},
    {WM_GETOBJECT, 0, static_cast<Handler>(&CSkinnedMessageDialog::OnGetObject)},
};

CSkinnedMessageDialog::CSkinnedMessageDialog(const SkinLayout& layout, HWND parent, std::wstring title,
                                             std::wstring message)
    : CDialog(layout.templateId, parent), m_strTitle(std::move(title)), m_strMessage(std::move(message)),
      m_layout(layout)
{
}

CDialog::MessageTable CSkinnedMessageDialog::GetMessageTable() const
{
    return {kMessages, sizeof(kMessages) / sizeof(kMessages[0])};
}

BOOL CSkinnedMessageDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Never drawn (the dialog has no caption), but it is how tools and
    // tests find the launcher's dialog among the desktop's windows.
    SetWindowTextW(m_hWnd, L"RZ_K");
    if (m_layout.topmost) {
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    BindButtons();
    FitToReferenceLayout();
    ApplyRoundedRegion(m_hWnd);
    // The driver's warm-up opens each dialog once with empty texts; such a
    // dialog closes before it is ever shown.
    if (m_strTitle.empty() && m_strMessage.empty()) {
        Trace(m_layout.emptyTextsTrace);
        OnOK();
    }
    return TRUE;
}

void CSkinnedMessageDialog::FitToReferenceLayout()
{
    // The paint constants are pixels for one dialog-unit conversion (1.5 x
    // 1.625 pixels per unit). Fonts that convert differently (Wine's dialog
    // font, East Asian Windows) would cut off the background and misplace
    // the buttons, so the client area and the buttons are set to the pixel
    // places that conversion gives, whatever the font's metrics.
    RECT frame = {0, 0, m_layout.background.cx, m_layout.background.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const SkinButtonPlace& place : m_layout.buttons) {
        HWND button = GetDlgItem(m_hWnd, static_cast<int>(place.controlId));
        if (button != nullptr) {
            SetWindowPos(button, nullptr, place.face.left, place.face.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void CSkinnedMessageDialog::PaintContent(HDC target, int w, int h) const
{
    MemoryDC source(target);
    MemoryDC buffer(target);
    OwnedBitmap background(LoadPngBitmap(m_layout.backgroundId));
    OwnedBitmap bufferBitmap(CreateCompatibleBitmap(target, w, h));
    SelectedObject bufferSelection(buffer.Get(), bufferBitmap.Get());
    SelectedObject sourceSelection(source.Get(), background.Get());

    SetBkColor(buffer.Get(), kBackgroundColour);
    BitBlt(buffer.Get(), 0, 0, m_layout.background.cx, m_layout.background.cy, source.Get(), 0, 0, SRCCOPY);
    SetBkMode(buffer.Get(), TRANSPARENT);

    OwnedFont titleFont(CreateArial(15, FW_BOLD));
    OwnedFont messageFont(CreateArial(16, FW_NORMAL));
    {
        SelectedObject fontSelection(buffer.Get(), titleFont.Get());
        SetTextColor(buffer.Get(), kTitleColour);
        RECT titleRect = kTitleRect;
        DrawTextW(buffer.Get(), m_strTitle.c_str(), static_cast<int>(m_strTitle.size()), &titleRect, DT_WORDBREAK);

        SelectObject(buffer.Get(), messageFont.Get());
        SetTextColor(buffer.Get(), kMessageColour);
        RECT messageRect = m_layout.messageRect;
        DrawTextW(buffer.Get(), m_strMessage.c_str(), static_cast<int>(m_strMessage.size()), &messageRect,
                  DT_CENTER | DT_WORDBREAK);
        SetBkMode(buffer.Get(), OPAQUE);

        BitBlt(target, 0, 0, w, h, buffer.Get(), 0, 0, SRCCOPY);
    }
    // Leaving the scope puts the original font and bitmaps back, then
    // releases the message font, the title font, the buffer bitmap, the
    // background and the two contexts, in that order.
}

INT_PTR CSkinnedMessageDialog::OnPaint(WPARAM, LPARAM)
{
    {
        ClientDC client(m_hWnd);
        RECT rect;
        GetClientRect(m_hWnd, &rect);
        PaintContent(client.Get(), rect.right - rect.left, rect.bottom - rect.top);
        // The copy has just painted over the bitmap buttons: make them draw
        // themselves again.
        for (const SkinButtonPlace& place : m_layout.buttons) {
            InvalidateRect(m_hWnd, &place.face, FALSE);
        }
    }
    // The default handling validates the update region.
    return FALSE;
}

INT_PTR CSkinnedMessageDialog::OnEraseBackground(WPARAM, LPARAM)
{
    return Result(0);  // painting covers the whole client area
}

INT_PTR CSkinnedMessageDialog::OnNcHitTest(WPARAM, LPARAM lParam)
{
    return Result(CaptionStripHitTest(m_hWnd, PointFromHitTestMessage(lParam)));
}

INT_PTR CSkinnedMessageDialog::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    // Screen readers ask for the client object; the rest stays standard.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return FALSE;
    }
    CAccessibleProxy* accessible = CreateSkinnedDialogAccessible(m_hWnd, m_strTitle, m_strMessage, m_layout);
    return Result(CAccessibleProxy::Answer(accessible, wParam));
}
