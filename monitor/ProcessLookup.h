#pragma once
#include <windows.h>

#include <string>

// Process identifier of the first process whose executable file name equals
// `name` regardless of case; -1 when none matches or the listing can't be
// read, 0 when no snapshot can be taken.
LONG FindProcess(std::wstring name);

// Opens process `processId` with all access rights and terminates it with
// exit code 0; false when it can't be opened or terminated. Ending the
// calling process does not return.
bool TerminateProcessWithExitCodeZero(DWORD processId);

// Whether process `processId` is listed under the executable file name
// `name` (regardless of case) in a fresh snapshot.
bool IsProcessListedAs(DWORD processId, const std::wstring& name);
