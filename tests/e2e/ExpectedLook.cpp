#include "ExpectedLook.h"

#include "DialogControl.h"
#include "framework/ScopedHandles.h"
#include "imagelib/ximage.h"
#include "res/resource.h"
#include "skin/ImageLibrary.h"
#include "workflow/MessageText.h"

namespace {

const RECT kTitleRect = {10, 8, 250, 30};

// The background image decoded at the scale, the title in white
// bold 15-pixel Arial left-aligned in (10, 8, 250, 30), the message in
// RGB(89, 69, 28) 16-pixel Arial centred in its rectangle, both wrapped at
// words over a transparent background; every size at 96 dots, scaled.
void DrawSpecifiedDialog(HDC target, bool notice, const std::wstring& title, const std::wstring& message, int dpi)
{
    // The image DLL beside this program, loaded as the launcher loads it.
    if (!ImageLibraryReady()) return;
    CxImage image(CXIMAGE_FORMAT_UNKNOWN);
    const UINT backgroundId = notice ? IDB_NOTICE_BACKGROUND : IDB_QUESTION_BACKGROUND;
    image.LoadResource(FindResourceW(nullptr, MAKEINTRESOURCEW(backgroundId), L"PNG"), CXIMAGE_FORMAT_PNG,
                       nullptr);
    {
        const int w = ScaledPx(notice ? 401 : 264, dpi);
        const int h = ScaledPx(156, dpi);
        OwnedBitmap background(image.MakeBitmap(nullptr, static_cast<DWORD>(w), static_cast<DWORD>(h)));
        MemoryDC source(target);
        SelectedObject selected(source.Get(), background.Get());
        BitBlt(target, 0, 0, w, h, source.Get(), 0, 0, SRCCOPY);
    }
    SetBkMode(target, TRANSPARENT);
    auto arial = [dpi](int height, int weight) {
        return CreateFontW(ScaledPx(height, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Arial");
    };
    OwnedFont titleFont(arial(15, FW_BOLD));
    OwnedFont messageFont(arial(16, FW_NORMAL));
    SelectedObject selected(target, titleFont.Get());
    SetTextColor(target, RGB(255, 255, 255));
    RECT titleRect = ScaledRect(kTitleRect, dpi);
    DrawTextW(target, title.c_str(), static_cast<int>(title.size()), &titleRect, DT_WORDBREAK);
    SelectObject(target, messageFont.Get());
    SetTextColor(target, RGB(89, 69, 28));
    RECT rect = ScaledRect(ExpectedMessageRect(notice), dpi);
    DrawTextW(target, message.c_str(), static_cast<int>(message.size()), &rect, DT_CENTER | DT_WORDBREAK);
}

}  // namespace

RECT ExpectedMessageRect(bool notice)
{
    return notice ? RECT{50, 52, 350, 100} : RECT{26, 42, 241, 90};
}

bool MessageAreaMatches(HWND dialog, bool notice, const std::wstring& text, int dpi)
{
    const Capture shown = CaptureClient(dialog);
    const int w = ScaledPx(notice ? 401 : 264, dpi);
    const int h = ScaledPx(156, dpi);
    if (shown.width != w || shown.height != h) {
        return false;
    }
    ClientDC screen(nullptr);
    MemoryDC target(screen.Get());
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
    SelectedObject selected(target.Get(), bitmap.Get());
    DrawSpecifiedDialog(target.Get(), notice, kMessageTitle, text, dpi);
    for (const RECT& area : {ScaledRect(kTitleRect, dpi), ScaledRect(ExpectedMessageRect(notice), dpi)}) {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (GetPixel(target.Get(), x, y) != shown.At(x, y)) {
                    return false;
                }
            }
        }
    }
    return true;
}
