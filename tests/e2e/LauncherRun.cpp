#include "LauncherRun.h"

#include <algorithm>
#include <chrono>

#include "framework/ScopedHandles.h"

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<SeenWindow> found;
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
    RECT rect{};
    // A dialog ending meanwhile has no rectangle any more: not seen.
    if (!GetWindowRect(window, &rect) || !IsWindowVisible(window)) {
        return TRUE;
    }
    search->found.push_back({window, text, rect});
    return TRUE;
}

bool IsMonitorPair(const std::string& line)
{
    return line == "[RZ_K] CheckCDFS : 1" || line == "[RZ_K] CDFS exist!";
}

}  // namespace

LauncherRun::LauncherRun(const std::wstring& executable, DWORD timeoutMs, const std::wstring& workingFolder)
{
    m_runner = std::thread([this, executable, timeoutMs, workingFolder] {
        const std::wstring folder =
            !workingFolder.empty() ? workingFolder : executable.substr(0, executable.find_last_of(L'\\'));
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
        OwnedHandle process(pid != 0 ? OpenProcess(PROCESS_TERMINATE, FALSE, pid) : nullptr);
        if (process) {
            TerminateProcess(process.Get(), 1);
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
        WindowSearch search{pid, {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
        Record(search.found);
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

void LauncherRun::Record(const std::vector<SeenWindow>& visible)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const SeenWindow& w : visible) {
        const bool known = std::any_of(m_windows.begin(), m_windows.end(), [&](const SeenWindow& k) {
            return k.handle == w.handle && k.text == w.text && EqualRect(&k.rect, &w.rect);
        });
        if (!known) {
            m_windows.push_back(w);
        }
    }
    if (!visible.empty()) {
        m_changed.notify_all();
    }
}

HWND LauncherRun::WaitForDialog(DWORD timeoutMs)
{
    const DWORD pid = ProcessId();
    HWND dialog = nullptr;
    WaitUntil([&] { return Exited() || (dialog = FindLauncherDialog(pid)) != nullptr; }, timeoutMs);
    // Once its first paint and its buttons' repaint are done; seen, even
    // if the test answers it before the watcher's next look.
    if (dialog != nullptr) {
        WaitForPainted(dialog);
        RECT rect{};
        GetWindowRect(dialog, &rect);
        Record({{dialog, L"RZ_K", rect}});
    }
    return dialog;
}

bool LauncherRun::WaitForDialogGone(HWND dialog, DWORD timeoutMs)
{
    return WaitUntil([dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
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
