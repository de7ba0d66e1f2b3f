#include "app/LauncherApp.h"

// Process-wide; written once by start-up before the monitor starts.
std::wstring g_strModulePath;
std::wstring g_strModuleDir;
