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
#include "DialogControl.h"

struct SeenWindow {
    HWND handle;
    std::wstring text;
    RECT rect;
};

class LauncherRun {
public:
    // The launcher inherits this program's environment, locale included,
    // and runs in its own folder unless `workingFolder` is given.
    explicit LauncherRun(const std::wstring& executable, DWORD timeoutMs = 90000,
                         const std::wstring& workingFolder = std::wstring());
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

private:
    void Watch();
    void Record(const std::vector<SeenWindow>& visible);

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
