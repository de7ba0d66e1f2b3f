#include "framework/ProcessState.h"

std::wstring g_strModulePath;
std::wstring g_strModuleDir;
std::atomic<std::int32_t> g_bCheckCDFS{0};
std::uint32_t g_LocalPCLang = 0;
std::int32_t g_bLangSupported = 0;
