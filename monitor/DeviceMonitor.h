#pragma once

// Thread entry: watches the marker file beside the executable every 800 ms
// and ends the launcher when it is gone. Always returns 0.
unsigned __stdcall CheckCDFS(void* parameter);
