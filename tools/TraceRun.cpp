// tracerun: starts a program as a debuggee and prints the lines it writes
// to the debugger output channel as they arrive, with milliseconds since
// the start, then the program's exit code.
//
//   tracerun [--timeout SECONDS] [--cwd FOLDER] PROGRAM [ARGUMENTS...]
//
// The program is killed once the timeout has passed (default 60 s); then
// tracerun exits with 124, otherwise with the program's exit code.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "DebugTrace.h"

namespace {
void Usage()
{
    std::fwprintf(stderr, L"usage: tracerun [--timeout SECONDS] [--cwd FOLDER] PROGRAM [ARGUMENTS...]\n");
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    DWORD timeoutMs = 60000;
    std::wstring workingDir;
    int first = 1;
    while (first < argc && std::wcsncmp(argv[first], L"--", 2) == 0) {
        const std::wstring option = argv[first];
        if (option == L"--") {
            ++first;
            break;
        }
        if (first + 1 >= argc) {
            Usage();
            return 2;
        }
        if (option == L"--timeout") {
            wchar_t* end = nullptr;
            const double seconds = std::wcstod(argv[first + 1], &end);
            if (end == argv[first + 1] || *end != L'\0' || seconds <= 0 || seconds > 86400) {
                std::fwprintf(stderr, L"tracerun: bad timeout '%ls'\n", argv[first + 1]);
                return 2;
            }
            timeoutMs = static_cast<DWORD>(seconds * 1000);
        } else if (option == L"--cwd") {
            workingDir = argv[first + 1];
        } else {
            Usage();
            return 2;
        }
        first += 2;
    }
    if (first >= argc) {
        Usage();
        return 2;
    }
    std::wstring commandLine;
    for (int i = first; i < argc; ++i) {
        if (!commandLine.empty()) {
            commandLine += L' ';
        }
        commandLine += QuoteArgument(argv[i]);
    }

    const DebugRunResult result = DebuggedProgram::Run(
        commandLine, workingDir, timeoutMs,
        [](DWORD processId) {
            std::printf("tracerun: started process %lu\n", static_cast<unsigned long>(processId));
            std::fflush(stdout);
        },
        [](const TraceLine& line) {
            std::printf("[%7lu ms] %s\n", static_cast<unsigned long>(line.elapsedMs), line.text.c_str());
            std::fflush(stdout);
        });
    if (!result.started) {
        std::fprintf(stderr, "tracerun: cannot start the program (error %lu)\n",
                     static_cast<unsigned long>(GetLastError()));
        return 127;
    }
    if (result.timedOut) {
        std::printf("tracerun: timed out after %lu ms, program killed\n", static_cast<unsigned long>(timeoutMs));
        return 124;
    }
    std::printf("tracerun: exit code %lu\n", static_cast<unsigned long>(result.exitCode));
    return static_cast<int>(result.exitCode);
}
