#include "DialogControl.h"

#include <utility>

#include "framework/ScopedHandles.h"

namespace {

struct WindowSearch {
    DWORD processId;    // 0: any process
    bool launcherOnly;  // only the launcher's dialog
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search->processId != 0 && owner != search->processId) || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t text[16] = {};
    GetWindowTextW(window, text, 16);
    if (search->launcherOnly && std::wstring(text) != L"RZ_K") {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD processId, bool launcherOnly)
{
    WindowSearch search{processId, launcherOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK ChildPainted(HWND child, LPARAM param)
{
    if (GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(param) = false;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindLauncherDialog(DWORD processId)
{
    return FindWindowOf(processId, true);
}

HWND FindVisibleWindow(DWORD processId)
{
    return FindWindowOf(processId, false);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(10);
    }
}

HWND WaitForLauncherDialog(DWORD processId, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindLauncherDialog(processId)) != nullptr; }, timeoutMs);
    return found;
}

namespace {

bool HasPainted(HWND window)
{
    if (!IsWindow(window) || GetUpdateRect(window, nullptr, FALSE)) {
        return false;
    }
    bool painted = true;
    EnumChildWindows(window, ChildPainted, reinterpret_cast<LPARAM>(&painted));
    return painted;
}

}  // namespace

bool WaitForPainted(HWND window, DWORD timeoutMs)
{
    return WaitUntil([window] { return HasPainted(window); }, timeoutMs);
}

namespace {

struct ModalSteps {
    std::vector<DialogStep> steps;
    std::size_t next = 0;
    HWND window = nullptr;
    int paintedTicks = 0;
    bool busy = false;
    ULONGLONG deadline = 0;
};

thread_local ModalSteps* t_modalSteps = nullptr;

void CALLBACK ModalStepTick(HWND, UINT, UINT_PTR, DWORD)
{
    ModalSteps* run = t_modalSteps;
    if (run == nullptr || run->busy || run->next >= run->steps.size()) {
        return;
    }
    if (GetTickCount64() > run->deadline) {
        run->next = run->steps.size();
        if (run->window != nullptr && IsWindow(run->window)) {
            PostMessageW(run->window, WM_COMMAND, IDCANCEL, 0);
        }
        return;
    }
    if (run->window == nullptr || !IsWindow(run->window)) {
        run->window = FindLauncherDialog(GetCurrentProcessId());
        run->paintedTicks = 0;
        if (run->window == nullptr) {
            return;
        }
    }
    // Painted on two ticks in a row: the thread has waited for messages in
    // between, which is when Wine hands the pixels to the X server.
    if (!HasPainted(run->window)) {
        run->paintedTicks = 0;
        return;
    }
    if (++run->paintedTicks < 2) {
        return;
    }
    run->paintedTicks = 0;
    run->busy = true;
    run->steps[run->next++](run->window);
    run->busy = false;
}

}  // namespace

INT_PTR RunModalWithSteps(const std::function<INT_PTR()>& runModal, std::vector<DialogStep> steps, DWORD timeoutMs)
{
    ModalSteps run;
    run.steps = std::move(steps);
    run.deadline = GetTickCount64() + timeoutMs;
    ModalSteps* outer = t_modalSteps;
    t_modalSteps = &run;
    // A thread timer: the dialog's own message loop dispatches it.
    const UINT_PTR timer = SetTimer(nullptr, 0, 25, ModalStepTick);
    const INT_PTR result = runModal();
    KillTimer(nullptr, timer);
    t_modalSteps = outer;
    return result;
}

void ClickButton(HWND dialog, int controlId)
{
    PostMessageW(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

void PressEscape(HWND dialog)
{
    HWND target = GetDlgItem(dialog, IDOK);
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

Capture CaptureClient(HWND window)
{
    Capture capture;
    RECT client{};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    capture.width = client.right;
    capture.height = client.bottom;
    ClientDC screen(nullptr);
    MemoryDC copy(screen.Get());
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), capture.width, capture.height));
    SelectedObject selected(copy.Get(), bitmap.Get());
    BitBlt(copy.Get(), 0, 0, capture.width, capture.height, screen.Get(), origin.x, origin.y, SRCCOPY);
    capture.pixels.resize(static_cast<size_t>(capture.width) * capture.height);
    for (int y = 0; y < capture.height; ++y) {
        for (int x = 0; x < capture.width; ++x) {
            capture.pixels[static_cast<size_t>(y) * capture.width + x] = GetPixel(copy.Get(), x, y);
        }
    }
    return capture;
}

bool SaveCaptureAsBmp(const Capture& capture, const std::wstring& path)
{
    const int stride = (capture.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = capture.width;
    info.biHeight = capture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * capture.height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> rows(info.biSizeImage);
    for (int y = 0; y < capture.height; ++y) {
        BYTE* row = rows.data() + static_cast<size_t>(capture.height - 1 - y) * stride;
        for (int x = 0; x < capture.width; ++x) {
            const COLORREF c = capture.At(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    const OwnedHandle out(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return out.Valid() && WriteFile(out.Get(), &file, sizeof(file), &written, nullptr) &&
           WriteFile(out.Get(), &info, sizeof(info), &written, nullptr) &&
           WriteFile(out.Get(), rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr);
}

SIZE LaidOutMessage(const std::wstring& text, int width, std::wstring& face)
{
    MemoryDC dc(nullptr);
    OwnedFont font(CreateFontW(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                               CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Arial"));
    SelectedObject selected(dc.Get(), font.Get());
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc.Get(), LF_FACESIZE, name);
    face = name;
    RECT laid = {0, 0, width, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &laid,
              DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
    return {laid.right, laid.bottom};
}
