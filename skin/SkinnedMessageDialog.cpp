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
    {WM_DPICHANGED, 0, static_cast<Handler>(&CSkinnedMessageDialog::OnDpiChanged)},
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
    ApplyScale(ScaleOfWindow(m_hWnd));
    // The driver's warm-up opens each dialog once with empty texts; such a
    // dialog closes before it is ever shown.
    if (m_strTitle.empty() && m_strMessage.empty()) {
        Trace(m_layout.emptyTextsTrace);
        OnOK();
    }
    return TRUE;
}

void CSkinnedMessageDialog::ApplyScale(const SkinScale& scale)
{
    // At 96 dots the buttons keep the faces they were bound with, unless a
    // move to another monitor has replaced them.
    const bool facesReplaced = !m_scale.IsReference();
    m_scale = scale;
    FitToReferenceLayout();
    if (!m_scale.IsReference() || facesReplaced) {
        LoadFacesForScale();
    }
    ApplyRoundedRegion(m_hWnd, m_scale);
}

// The face set drawn for a scale: the 96-dot bitmaps at 100 %, else the
// smallest of 125, 150 and 200 % at or above it, scaled down when drawn;
// above 200 % the 200 % set, scaled up.
void CSkinnedMessageDialog::LoadFacesForScale()
{
    const int percent = m_scale.Percent();
    const wchar_t* set = percent <= 100 ? L"" : percent <= 125 ? L"125" : percent <= 150 ? L"150" : L"200";
    for (const SkinButtonPlace& place : m_layout.buttons) {
        HWND control = GetDlgItem(m_hWnd, static_cast<int>(place.controlId));
        CBitmapButton* button = CBitmapButton::FromHandle(control);
        if (button == nullptr) {
            continue;
        }
        wchar_t caption[16] = {};
        GetWindowTextW(control, caption, 16);
        auto face = [&](const wchar_t* state) {
            const std::wstring name = std::wstring(caption) + state + set;
            return set[0] == L'\0' ? static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name.c_str(),
                                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
                                   : LoadPngBitmap(name.c_str());
        };
        button->SetFaces(face(L"U"), face(L"D"), face(L"F"), face(L"X"), m_scale.Size(kSkinButtonFace));
    }
}

void CSkinnedMessageDialog::FitToReferenceLayout()
{
    // The paint constants are pixels for one dialog-unit conversion (1.5 x
    // 1.625 pixels per unit). Fonts that convert differently (Wine's dialog
    // font, East Asian Windows) would cut off the background and misplace
    // the buttons, so the client area and the buttons are set to the pixel
    // places that conversion gives, whatever the font's metrics.
    const SIZE client = m_scale.Size(m_layout.background);
    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE)));
    SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const SkinButtonPlace& place : m_layout.buttons) {
        HWND button = GetDlgItem(m_hWnd, static_cast<int>(place.controlId));
        if (button != nullptr) {
            SetWindowPos(button, nullptr, m_scale.Px(place.face.left), m_scale.Px(place.face.top), 0, 0,
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
    const SIZE size = m_scale.Size(m_layout.background);
    if (m_scale.IsReference()) {
        BitBlt(buffer.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    } else {
        // A gradient and a band: they stretch well. HALFTONE averages.
        SetStretchBltMode(buffer.Get(), HALFTONE);
        SetBrushOrgEx(buffer.Get(), 0, 0, nullptr);
        StretchBlt(buffer.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, m_layout.background.cx,
                   m_layout.background.cy, SRCCOPY);
    }
    SetBkMode(buffer.Get(), TRANSPARENT);

    OwnedFont titleFont(CreateArial(m_scale.Px(15), FW_BOLD));
    OwnedFont messageFont(CreateArial(m_scale.Px(16), FW_NORMAL));
    {
        SelectedObject fontSelection(buffer.Get(), titleFont.Get());
        SetTextColor(buffer.Get(), kTitleColour);
        RECT titleRect = m_scale.Rect(kTitleRect);
        DrawTextW(buffer.Get(), m_strTitle.c_str(), static_cast<int>(m_strTitle.size()), &titleRect, DT_WORDBREAK);

        SelectObject(buffer.Get(), messageFont.Get());
        SetTextColor(buffer.Get(), kMessageColour);
        RECT messageRect = m_scale.Rect(m_layout.messageRect);
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
            const RECT face = m_scale.Rect(place.face);
            InvalidateRect(m_hWnd, &face, FALSE);
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
    return Result(CaptionStripHitTest(m_hWnd, PointFromHitTestMessage(lParam), m_scale));
}

INT_PTR CSkinnedMessageDialog::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    // Moved to a monitor with another scale: take the suggested place and
    // lay everything out again at the new scale.
    SkinScale scale;
    scale.dpi = HIWORD(wParam);
    ApplyScale(scale);
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (suggested != nullptr) {
        SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return Result(0);
}

INT_PTR CSkinnedMessageDialog::OnGetObject(WPARAM wParam, LPARAM lParam)
{
    // Screen readers ask for the client object; the rest stays standard.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return FALSE;
    }
    CAccessibleProxy* accessible =
        CreateSkinnedDialogAccessible(m_hWnd, m_strTitle, m_strMessage, m_layout, m_scale);
    return Result(CAccessibleProxy::Answer(accessible, wParam));
}
