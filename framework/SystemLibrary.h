#pragma once
// Procedures of Windows' own DLLs that the launcher needs only late or
// rarely (the shell after the user's answer, accessibility when a screen
// reader asks), so that start-up does not load them. They are loaded from
// the system folder, never from the launcher's own folder, which is a disc,
// and stay loaded.
#include <windows.h>

// Null when the DLL or the procedure can't be had.
FARPROC SystemProcedure(const wchar_t* dll, const char* name);

template <class Proc>
Proc SystemProcedureAs(const wchar_t* dll, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(SystemProcedure(dll, name)));
}
