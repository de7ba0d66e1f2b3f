#pragma once
// The launcher's process-wide state. Start-up writes the executable's path
// and folder and the locale once; the driver clears the monitor's flag at
// the end. Every subsystem reads it, so it lives at the bottom layer.
#include <atomic>
#include <cstdint>
#include <string>

// The running executable's full path, and its folder without a trailing
// separator.
extern std::wstring g_strModulePath;
extern std::wstring g_strModuleDir;

// The monitor's run flag: exactly 1 keeps it watching. Written by the
// user-interface thread, read afresh by the monitor at every test.
extern std::atomic<std::int32_t> g_bCheckCDFS;

// The thread locale at start-up, and whether it has texts of its own (0/1).
extern std::uint32_t g_LocalPCLang;
extern std::int32_t g_bLangSupported;
