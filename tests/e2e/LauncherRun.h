#pragma once
// Runs the real launcher as a debuggee on a thread of its own, collects its
// trace lines, watches its windows and lets a test drive its dialogs.
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "DebugTrace.h"

struct SeenWindow {
    HWND handle;
    std::wstring text;
    RECT rect;
};

class LauncherRun {
public:
    // The launcher inherits this program's environment, locale included.
    explicit LauncherRun(const std::wstring& executable, DWORD timeoutMs = 90000);
    ~LauncherRun();
    LauncherRun(const LauncherRun&) = delete;
    LauncherRun& operator=(const LauncherRun&) = delete;

    bool WaitForLine(const std::string& line, DWORD timeoutMs = 30000);
    // Waits until `count` lines equal to `line` have arrived.
    bool WaitForLineCount(const std::string& line, size_t count, DWORD timeoutMs = 30000);
    // The launcher's visible skinned dialog (window text "RZ_K").
    HWND WaitForDialog(DWORD timeoutMs = 30000);
    // Waits for the dialog to go, for example after a click.
    bool WaitForDialogGone(HWND dialog, DWORD timeoutMs = 30000);
    // True once the process has ended; the result is then complete.
    bool WaitForExit(DWORD timeoutMs = 60000);
    bool Exited();

    DebugRunResult Result();
    std::vector<std::string> Lines();
    // The lines without the monitor's periodic pair.
    std::vector<std::string> WorkflowLines();
    std::vector<SeenWindow> VisibleWindowsSeen();
    // How many different windows were ever visible.
    int DistinctWindowsSeen();
    DWORD ProcessId();

    static void Click(HWND dialog, int controlId);
    static void PressEscape(HWND dialog);

private:
    void Watch();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
    std::vector<SeenWindow> m_windows;
    DebugRunResult m_result;
    DWORD m_processId = 0;
    bool m_started = false;
    bool m_exited = false;
    std::thread m_runner;
    std::thread m_watcher;
};

// Screen pixels of a window's client area (what the user sees).
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture CaptureWindow(HWND window);
// Saves a capture as a 24-bit BMP (for the pictures of the README).
bool SaveCaptureAsBmp(const Capture& capture, const std::wstring& path);
