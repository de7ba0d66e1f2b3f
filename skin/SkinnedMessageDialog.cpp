#include "skin/SkinnedMessageDialog.h"

#include <utility>

#include "framework/MessageMap.h"
#include "framework/ScopedHandles.h"
#include "framework/Trace.h"
#include "skin/ButtonFace.h"
#include "skin/SkinHelpers.h"
#include "skin/SkinnedDialogAccessible.h"

namespace {

HFONT CreateArial(int height, int weight)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                       CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Arial");
}

}  // namespace

namespace {
using Map = MessageMap<CSkinnedMessageDialog>;
}

constexpr CDialog::MessageEntry CSkinnedMessageDialog::kMessages[] = {
    Map::Paint<&CSkinnedMessageDialog::OnPaint>(),
    Map::EraseBackground<&CSkinnedMessageDialog::OnEraseBackground>(),
    Map::NcHitTest<&CSkinnedMessageDialog::OnNcHitTest>(),
    Map::ObjectRequest<&CSkinnedMessageDialog::OnGetObject>(),
    Map::DpiChanged<&CSkinnedMessageDialog::OnDpiChanged>(),
    Map::Destroy<&CSkinnedMessageDialog::OnDestroy>(),
};
constexpr CDialog::MessageTable CSkinnedMessageDialog::kMessageTable = Map::Table(kMessages);

CSkinnedMessageDialog::CSkinnedMessageDialog(const SkinLayout& layout, HWND parent, std::wstring title,
                                             std::wstring message)
    : CDialog(layout.templateId, parent), m_strTitle(std::move(title)), m_strMessage(std::move(message)),
      m_layout(layout), m_accessibleLife(CAccessibleLife::Create())
{
}

CSkinnedMessageDialog::~CSkinnedMessageDialog()
{
    m_accessibleLife.Get()->End();
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

// The faces for the scale: at 96 dots the bitmaps the buttons were bound
// with (again, after a move back from another monitor), else each face
// drawn at exactly the button's scaled size.
void CSkinnedMessageDialog::LoadFacesForScale()
{
    for (const SkinButtonPlace& place : m_layout.buttons) {
        HWND control = GetDlgItem(m_hWnd, static_cast<int>(place.controlId));
        CBitmapButton* button = CBitmapButton::FromHandle(control);
        if (button == nullptr) {
            continue;
        }
        if (m_scale.IsReference()) {
            button->LoadCaptionFaces();
            continue;
        }
        const RECT r = m_scale.Rect(place.Face());
        const SIZE size = {r.right - r.left, r.bottom - r.top};
        const wchar_t* label = button->AccessibleName().c_str();
        button->SetFaces(DrawButtonFace(size, kFaceUp, label, m_scale),
                         DrawButtonFace(size, kFaceDown, label, m_scale),
                         DrawButtonFace(size, kFaceFocused, label, m_scale),
                         DrawButtonFace(size, kFaceDisabled, label, m_scale), size);
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
            const RECT r = m_scale.Rect(place.Face());
            SetWindowPos(button, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void CSkinnedMessageDialog::PaintContent(HDC target, int w, int h, const SkinScale& scale) const
{
    MemoryDC source(target);
    MemoryDC buffer(target);
    // At another scale the background is made at the scaled size as it is
    // decoded (a gradient and a band: they scale well), and the texts are
    // drawn on it: it is the buffer, one image-sized bitmap fewer to make
    // and copy where those cost most.
    const SIZE size = scale.Size(m_layout.background);
    OwnedBitmap background(scale.IsReference() ? LoadPngBitmap(m_layout.backgroundId)
                                               : LoadPngBitmap(m_layout.backgroundId, size));
    const bool backgroundIsBuffer = !scale.IsReference() && background && size.cx == w && size.cy == h;
    OwnedBitmap bufferBitmap(backgroundIsBuffer ? nullptr : CreateCompatibleBitmap(target, w, h));
    SelectedObject bufferSelection(buffer.Get(), backgroundIsBuffer ? background.Get() : bufferBitmap.Get());
    SelectedObject sourceSelection(source.Get(), backgroundIsBuffer ? nullptr : background.Get());

    SetBkColor(buffer.Get(), kBackgroundColour);
    if (!backgroundIsBuffer) {
        BitBlt(buffer.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }
    SetBkMode(buffer.Get(), TRANSPARENT);

    OwnedFont titleFont(CreateArial(scale.Px(15), FW_BOLD));
    OwnedFont messageFont(CreateArial(scale.Px(16), FW_NORMAL));
    {
        SelectedObject fontSelection(buffer.Get(), titleFont.Get());
        SetTextColor(buffer.Get(), kTitleColour);
        RECT titleRect = scale.Rect(kTitleRect);
        DrawTextW(buffer.Get(), m_strTitle.c_str(), static_cast<int>(m_strTitle.size()), &titleRect, DT_WORDBREAK);

        SelectObject(buffer.Get(), messageFont.Get());
        SetTextColor(buffer.Get(), kMessageColour);
        RECT messageRect = scale.Rect(m_layout.messageRect);
        DrawTextW(buffer.Get(), m_strMessage.c_str(), static_cast<int>(m_strMessage.size()), &messageRect,
                  DT_CENTER | DT_WORDBREAK);
        SetBkMode(buffer.Get(), OPAQUE);

        BitBlt(target, 0, 0, w, h, buffer.Get(), 0, 0, SRCCOPY);
    }
    // Leaving the scope puts the original font and bitmaps back, then
    // releases the message font, the title font, the buffer bitmap, the
    // background and the two contexts, in that order.
}

void CSkinnedMessageDialog::OnPaint()
{
    ClientDC client(m_hWnd);
    RECT rect;
    GetClientRect(m_hWnd, &rect);
    PaintContent(client.Get(), rect.right - rect.left, rect.bottom - rect.top, m_scale);
    // The copy has just painted over the bitmap buttons: make them draw
    // themselves again. The default handling then validates the update
    // region.
    for (const SkinButtonPlace& place : m_layout.buttons) {
        const RECT repaint = m_scale.IsReference() ? place.repaint : m_scale.Rect(place.Face());
        InvalidateRect(m_hWnd, &repaint, FALSE);
    }
}

BOOL CSkinnedMessageDialog::OnEraseBackground(HDC)
{
    return FALSE;  // painting covers the whole client area
}

LRESULT CSkinnedMessageDialog::OnNcHitTest(POINT point)
{
    return CaptionStripHitTest(m_hWnd, point, m_scale);
}

void CSkinnedMessageDialog::OnDpiChanged(UINT dpi, const RECT* suggested)
{
    // Moved to a monitor with another scale: take the suggested place and
    // lay everything out again at the new scale.
    SkinScale scale;
    scale.dpi = static_cast<int>(dpi);
    ApplyScale(scale);
    if (suggested != nullptr) {
        SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CSkinnedMessageDialog::OnGetObject(DWORD flags, LONG objectId)
{
    // Screen readers ask for the client object, and name a dialog from its
    // window object too; the rest stays standard.
    CAccessibleProxy* accessible = nullptr;
    if (objectId == OBJID_CLIENT) {
        accessible = CreateSkinnedDialogAccessible(m_hWnd, m_strTitle, m_strMessage, m_layout, m_scale,
                                                   m_accessibleLife.Get());
    } else if (objectId == OBJID_WINDOW) {
        accessible = CreateSkinnedWindowAccessible(m_hWnd, m_strTitle, m_accessibleLife.Get());
    }
    return CAccessibleProxy::Answer(accessible, flags);
}

void CSkinnedMessageDialog::OnDestroy()
{
    // What a screen reader still holds answers nothing from here on.
    m_accessibleLife.Get()->End();
}
