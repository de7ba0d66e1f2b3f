#pragma once
#include <atomic>
#include <cstdint>

// The monitor's run flag: exactly 1 keeps it watching. Written by the
// user-interface thread, read afresh by the monitor at every test.
extern std::atomic<std::int32_t> g_bCheckCDFS;

// Thread entry: watches the marker file beside the executable every 800 ms
// and ends the launcher when it is gone. Always returns 0.
unsigned __stdcall CheckCDFS(void* parameter);
