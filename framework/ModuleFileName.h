#pragma once
#include <windows.h>

#include <string>

// The full path of `module` (null: the executable), however deep its
// folder; empty when it can't be read or is longer than the longest path
// Windows has (32,767 characters).
std::wstring ModuleFileName(HMODULE module);
