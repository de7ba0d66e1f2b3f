#include "LauncherRun.h"

#include <algorithm>
#include <chrono>

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<SeenWindow> found;
    bool dialogsOnly;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid || !IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (search->dialogsOnly && std::wstring(text) != L"RZ_K") {
        return TRUE;
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    search->found.push_back({window, text, rect});
    return TRUE;
}

bool IsMonitorPair(const std::string& line)
{
    return line == "[RZ_K] CheckCDFS : 1" || line == "[RZ_K] CDFS exist!";
}

}  // namespace

LauncherRun::LauncherRun(const std::wstring& executable, DWORD timeoutMs)
{
    m_runner = std::thread([this, executable, timeoutMs] {
        const std::wstring folder = executable.substr(0, executable.find_last_of(L'\\'));
        const DebugRunResult result = DebuggedProgram::Run(
            QuoteArgument(executable), folder, timeoutMs,
            [this](DWORD processId) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_processId = processId;
                m_started = true;
                m_changed.notify_all();
            },
            [this](const TraceLine& line) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_lines.push_back(line.text);
                m_changed.notify_all();
            });
        std::lock_guard<std::mutex> lock(m_mutex);
        m_result = result;
        m_exited = true;
        m_started = true;
        m_changed.notify_all();
    });
    m_watcher = std::thread([this] { Watch(); });
}

LauncherRun::~LauncherRun()
{
    if (!WaitForExit(100)) {
        const DWORD pid = ProcessId();
        HANDLE process = pid != 0 ? OpenProcess(PROCESS_TERMINATE, FALSE, pid) : nullptr;
        if (process != nullptr) {
            TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
    m_runner.join();
    m_watcher.join();
}

void LauncherRun::Watch()
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_started; });
    }
    for (;;) {
        DWORD pid;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_exited) {
                return;
            }
            pid = m_processId;
        }
        WindowSearch search{pid, {}, false};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (const SeenWindow& w : search.found) {
                const bool known = std::any_of(m_windows.begin(), m_windows.end(), [&](const SeenWindow& k) {
                    return k.handle == w.handle && k.text == w.text && EqualRect(&k.rect, &w.rect);
                });
                if (!known) {
                    m_windows.push_back(w);
                }
            }
            if (!search.found.empty()) {
                m_changed.notify_all();
            }
        }
        Sleep(10);
    }
}

bool LauncherRun::WaitForLine(const std::string& line, DWORD timeoutMs)
{
    return WaitForLineCount(line, 1, timeoutMs);
}

bool LauncherRun::WaitForLineCount(const std::string& line, size_t count, DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return static_cast<size_t>(std::count(m_lines.begin(), m_lines.end(), line)) >= count || m_exited;
    }) && static_cast<size_t>(std::count(m_lines.begin(), m_lines.end(), line)) >= count;
}

HWND LauncherRun::WaitForDialog(DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        DWORD pid = ProcessId();
        if (Exited()) {
            return nullptr;
        }
        WindowSearch search{pid, {}, true};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found.empty()) {
            // Let its first paint and its buttons' repaint finish.
            Sleep(300);
            return search.found.front().handle;
        }
        Sleep(20);
    }
    return nullptr;
}

bool LauncherRun::WaitForDialogGone(HWND dialog, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        if (!IsWindow(dialog) || !IsWindowVisible(dialog)) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

bool LauncherRun::WaitForExit(DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_exited; });
}

bool LauncherRun::Exited()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exited;
}

DebugRunResult LauncherRun::Result()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_result;
}

std::vector<std::string> LauncherRun::Lines()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

std::vector<std::string> LauncherRun::WorkflowLines()
{
    std::vector<std::string> lines = Lines();
    lines.erase(std::remove_if(lines.begin(), lines.end(), IsMonitorPair), lines.end());
    return lines;
}

std::vector<SeenWindow> LauncherRun::VisibleWindowsSeen()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_windows;
}

int LauncherRun::DistinctWindowsSeen()
{
    std::vector<HWND> distinct;
    for (const SeenWindow& w : VisibleWindowsSeen()) {
        if (std::find(distinct.begin(), distinct.end(), w.handle) == distinct.end()) {
            distinct.push_back(w.handle);
        }
    }
    return static_cast<int>(distinct.size());
}

DWORD LauncherRun::ProcessId()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_started; });
    return m_processId;
}

void LauncherRun::Click(HWND dialog, int controlId)
{
    PostMessageW(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

void LauncherRun::PressEscape(HWND dialog)
{
    HWND target = GetDlgItem(dialog, IDOK);
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

Capture CaptureWindow(HWND window)
{
    Capture capture;
    RECT client{};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    capture.width = client.right;
    capture.height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, capture.width, capture.height);
    HGDIOBJ previous = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, capture.width, capture.height, screen, origin.x, origin.y, SRCCOPY);
    capture.pixels.resize(static_cast<size_t>(capture.width) * capture.height);
    for (int y = 0; y < capture.height; ++y) {
        for (int x = 0; x < capture.width; ++x) {
            capture.pixels[static_cast<size_t>(y) * capture.width + x] = GetPixel(copy, x, y);
        }
    }
    SelectObject(copy, previous);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
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
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    WriteFile(out, &file, sizeof(file), &written, nullptr);
    WriteFile(out, &info, sizeof(info), &written, nullptr);
    WriteFile(out, rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr);
    CloseHandle(out);
    return true;
}
