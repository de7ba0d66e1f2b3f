#pragma once
#include <string>

// Starts the program `file` (a full path) with `parameters` through the
// shell, in `folder` as its working folder, with no owner window, the
// default verb, show state normal and no error user interface. On success
// writes `successTrace` and waits at most 2500 ms on the new process; its
// handle is left to close with the launcher's process.
bool LaunchAndWait(const std::wstring& file, const std::wstring& parameters, const std::wstring& folder,
                   const wchar_t* successTrace);
