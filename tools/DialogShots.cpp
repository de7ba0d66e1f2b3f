// dialogshots: opens every message dialog a user can meet (5000 and 5002 in
// the notice, 5001 in the question, in the ten languages, and 5003 in
// English) for real, one after another, and saves each one's client area
// as a 24-bit BMP in the given folder: KIND-ID-LANGUAGE.bmp.
//   dialogshots FOLDER
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/LocaleTable.h"
#include "skin/MessageDialogs.h"
#include "workflow/MessageText.h"

namespace {

bool SaveClientBmp(HWND window, const std::wstring& path)
{
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right;
    const int h = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC copy = CreateCompatibleDC(windowDc);
    HGDIOBJ previous = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, w, h, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(h);
    bool written = false;
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        written = fwrite(&file, sizeof(file), 1, out) == 1 && fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
                  fwrite(bits, stride * static_cast<DWORD>(h), 1, out) == 1;
        fclose(out);
    }
    SelectObject(copy, previous);
    DeleteDC(copy);
    DeleteObject(bitmap);
    ReleaseDC(window, windowDc);
    return written;
}

// Runs the dialog, saves it once it has painted, and closes it with Esc.
bool Shoot(CDialog& dialog, const std::wstring& path)
{
    std::atomic<bool> saved{false};
    std::thread shooter([&] {
        HWND window = nullptr;
        for (int i = 0; i < 500 && window == nullptr; ++i) {
            HWND found = FindWindowW(nullptr, L"RZ_K");
            if (found != nullptr && IsWindowVisible(found)) window = found;
            else Sleep(10);
        }
        if (window == nullptr) return;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(150);
        saved = SaveClientBmp(window, path);
        PostMessageW(GetDlgItem(window, IDOK), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    });
    dialog.DoModal();
    shooter.join();
    return saved;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialogshots FOLDER\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    int failed = 0;
    struct Message {
        UINT id;
        bool notice;
        bool allLanguages;
    };
    for (const Message& message : {Message{5000, true, true}, Message{5001, false, true}, Message{5002, true, true},
                                   Message{5003, true, false}}) {
        for (std::uint32_t locale : kSupportedLocales) {
            if (!message.allLanguages && locale != kFallbackLocale) continue;
            const auto language = static_cast<LANGID>(locale);
            std::wstring text;
            FindStringInLanguage(GetModuleHandleW(nullptr), message.id, language, text);
            const std::wstring path = folder + L"\\" + (message.notice ? L"notice-" : L"question-") +
                                      std::to_wstring(message.id) + L"-" + std::to_wstring(language) + L".bmp";
            bool ok;
            if (message.notice) {
                CAFXOKBIG dialog(nullptr, kMessageTitle, text);
                ok = Shoot(dialog, path);
            } else {
                CASFXYESNO dialog(nullptr, kMessageTitle, text);
                ok = Shoot(dialog, path);
            }
            if (!ok) {
                std::fprintf(stderr, "dialogshots: could not save %ls\n", path.c_str());
                ++failed;
            }
        }
    }
    return failed == 0 ? 0 : 1;
}
