#pragma once
// The one design behind the notice and the question: a borderless popup
// painted from a PNG background, with a white bold title in the dark top
// band, the message below it and bitmap buttons.
#include <string>

#include "framework/BitmapButton.h"
#include "framework/Dialog.h"
#include "skin/SkinLayout.h"
#include "skin/SkinScale.h"

class CSkinnedMessageDialog : public CDialog {
public:
    CSkinnedMessageDialog(const SkinLayout& layout, HWND parent, std::wstring title, std::wstring message);
    ~CSkinnedMessageDialog() override;

    const std::wstring& Title() const { return m_strTitle; }
    const std::wstring& Message() const { return m_strMessage; }

    // Composes the whole client area (w x h) off-screen at `scale` (the
    // dialog's own when it paints) and copies it to `target` at (0, 0).
    // Everything is created anew for each call.
    void PaintContent(HDC target, int w, int h, const SkinScale& scale) const;

    const SkinScale& Scale() const { return m_scale; }

    static constexpr COLORREF kBackgroundColour = RGB(221, 206, 163);
    static constexpr COLORREF kTitleColour = RGB(255, 255, 255);
    static constexpr COLORREF kMessageColour = RGB(89, 69, 28);
    static constexpr RECT kTitleRect = {10, 8, 250, 30};

protected:
    BOOL OnInitDialog() override;
    const MessageTable* GetMessageTable() const override { return &kMessageTable; }
    // What a derived dialog's table chains to.
    static const MessageTable kMessageTable;

    // Binds the class's bitmap buttons to their controls; a binding that
    // fails leaves its control undrawn and initialisation goes on.
    virtual void BindButtons() = 0;

    std::wstring m_strTitle;
    std::wstring m_strMessage;

private:
    // Lays the dialog out at `scale`: size, buttons and their faces, region.
    void ApplyScale(const SkinScale& scale);
    void FitToReferenceLayout();
    void LoadFacesForScale();
    void OnDpiChanged(UINT dpi, const RECT* suggested);
    void OnPaint();
    BOOL OnEraseBackground(HDC);
    LRESULT OnNcHitTest(POINT point);
    LRESULT OnGetObject(DWORD flags, LONG objectId);
    void OnDestroy();

    static const MessageEntry kMessages[];

    const SkinLayout& m_layout;
    SkinScale m_scale;
    OwnedAccessibleLife m_accessibleLife;  // of the objects screen readers hold
};
