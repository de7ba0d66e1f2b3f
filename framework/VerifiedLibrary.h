#pragma once
#include <windows.h>

#include <string>

#include "framework/Sha256.h"

// Loads the DLL at `path` (a full path) only when its image digest
// (PeImageDigest.h) is `expected`: the same DLL, signed or not. The file is
// held open against writes from the check until it is loaded, so what was
// checked is what runs. Its imports come from the system folder where
// Windows allows it. Null when the file is missing, unreadable, larger
// than `maxBytes`, malformed or different.
HMODULE LoadVerifiedLibrary(const std::wstring& path, const Sha256::Digest& expected, DWORD maxBytes);
