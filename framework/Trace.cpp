#include "framework/Trace.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <vector>

void Trace(const std::wstring& line)
{
    OutputDebugStringW(line.c_str());
}

void TraceF(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list probe;
    va_copy(probe, args);
    const int length = _vscwprintf(format, probe);
    va_end(probe);
    if (length < 0) {
        va_end(args);
        return;
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    _vsnwprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    buffer.back() = L'\0';
    OutputDebugStringW(buffer.data());
}
