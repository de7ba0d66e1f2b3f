#pragma once
// Where the launcher's DLLs come from. A signed program copied next to a
// planted DLL must not run it, so the DLL search is locked to the system
// folder before anything else, and Windows' DLLs the launcher needs late
// (the shell after the user's answer, accessibility when a screen reader
// asks) are loaded by full path from there. Its own image DLL is loaded
// only once checked (VerifiedLibrary.h).
#include <windows.h>

#include <cstddef>

// Locks every later load by name, and what each loaded DLL imports, to the
// system folder: SetDefaultDllDirectories where Windows has it (8 and
// later; Vista and 7 with KB2533623). Elsewhere takes the current folder
// out of the search and loads `preload` (names) from the system folder by
// full path, so that later loads by those names find them loaded. Call it
// first, before any DLL is loaded by name.
void LockDllSearch(const wchar_t* const* preload, std::size_t count);

// The flags that keep a DLL's own imports in the system folder when it is
// loaded by full path: LOAD_LIBRARY_SEARCH_SYSTEM32 where Windows knows
// it, else LOAD_WITH_ALTERED_SEARCH_PATH (the DLL's folder first, which for
// a system DLL is the system folder).
DWORD SystemFolderLoadFlags();

// A DLL of the system folder, by full path; null when it can't be loaded.
HMODULE LoadSystemLibrary(const wchar_t* dll);

// Null when the DLL or the procedure can't be had.
FARPROC SystemProcedure(const wchar_t* dll, const char* name);

template <class Proc>
Proc SystemProcedureAs(const wchar_t* dll, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(SystemProcedure(dll, name)));
}
