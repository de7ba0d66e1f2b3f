#pragma once
#include <string>

// One line to the debugger output channel, handed over whole in one call,
// with no newline added. A debugger or a debug-output viewer shows it.
void Trace(const std::wstring& line);

// printf-style variant for the lines that carry a value.
void TraceF(const wchar_t* format, ...);
