#include "DebugTrace.h"

#include <vector>

#include "framework/ScopedHandles.h"

namespace {

std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info)
{
    const DWORD length = info.nDebugStringLength;
    if (length == 0 || info.lpDebugStringData == nullptr) {
        return {};
    }
    std::string text;
    if (info.fUnicode) {
        std::vector<wchar_t> wide(length);
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, info.lpDebugStringData, wide.data(), length * sizeof(wchar_t), &read)) {
            return {};
        }
        const size_t count = wcsnlen(wide.data(), read / sizeof(wchar_t));
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(count), nullptr, 0, nullptr, nullptr);
        text.resize(static_cast<size_t>(bytes));
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(count), text.data(), bytes, nullptr,
                            nullptr);
        return text;
    }
    // Wine hands wide strings over converted to the 8-bit code page.
    std::vector<char> narrow(length);
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, info.lpDebugStringData, narrow.data(), length, &read)) {
        return {};
    }
    text.assign(narrow.data(), strnlen(narrow.data(), read));
    return text;
}

}  // namespace

std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        backslashes = 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

DebugRunResult DebuggedProgram::Run(const std::wstring& commandLine, const std::wstring& workingDir,
                                    DWORD timeoutMs, const std::function<void(DWORD)>& onStart,
                                    const std::function<void(const TraceLine&)>& onLine,
                                    const std::function<void(DWORD)>& onDllLoad)
{
    DebugRunResult result;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back(L'\0');
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &process)) {
        return result;
    }
    OwnedHandle processHandle(process.hProcess);
    OwnedHandle threadHandle(process.hThread);
    result.started = true;
    result.processId = process.dwProcessId;
    if (onStart) {
        onStart(process.dwProcessId);
    }
    const ULONGLONG start = GetTickCount64();
    bool running = true;
    while (running) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, 100)) {
            if (!result.timedOut && GetTickCount64() - start > timeoutMs) {
                result.timedOut = true;
                TerminateProcess(process.hProcess, 259);
            }
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile != nullptr) {
                CloseHandle(event.u.CreateProcessInfo.hFile);  // not needed: closed at once
            }
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile != nullptr) {
                CloseHandle(event.u.LoadDll.hFile);
            }
            if (onDllLoad) {
                onDllLoad(static_cast<DWORD>(GetTickCount64() - start));
            }
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
            if (onLine) {
                onLine(TraceLine{static_cast<DWORD>(GetTickCount64() - start),
                                 ReadDebugString(process.hProcess, event.u.DebugString)});
            }
            break;
        case EXCEPTION_DEBUG_EVENT:
            // The loader's initial breakpoint is ours; everything else goes
            // back to the program's own handling.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                status = DBG_EXCEPTION_NOT_HANDLED;
            }
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            result.exitCode = event.u.ExitProcess.dwExitCode;
            running = false;
            break;
        default:
            break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (running && !result.timedOut && GetTickCount64() - start > timeoutMs) {
            result.timedOut = true;
            TerminateProcess(process.hProcess, 259);
        }
    }
    return result;
}
