#pragma once
// Runs a program as a debuggee and collects the lines it writes to the
// debugger output channel. The trace runner and the end-to-end tests use it.
#include <windows.h>

#include <functional>
#include <string>

struct TraceLine {
    DWORD elapsedMs;   // since the debuggee was started
    std::string text;  // as the debugger receives it (8-bit under Wine)
};

struct DebugRunResult {
    bool started = false;
    bool timedOut = false;  // the debuggee was killed after the timeout
    DWORD exitCode = 0;
    DWORD processId = 0;
};

class DebuggedProgram {
public:
    // Starts `commandLine` (in `workingDir` when not empty) and runs the
    // debug loop on the calling thread until the program ends. The program
    // is terminated once `timeoutMs` have passed. `onStart` is called with
    // the process id right after the start, `onLine` for every trace line,
    // `onDllLoad` with the time of every DLL the loader maps.
    static DebugRunResult Run(const std::wstring& commandLine, const std::wstring& workingDir, DWORD timeoutMs,
                              const std::function<void(DWORD processId)>& onStart,
                              const std::function<void(const TraceLine&)>& onLine,
                              const std::function<void(DWORD elapsedMs)>& onDllLoad = {});
};

// Quotes one argument for a Windows command line.
std::wstring QuoteArgument(const std::wstring& argument);
