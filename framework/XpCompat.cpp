// Keeps the binaries loadable on Windows XP (major version 5, which the
// language step supports). The static thread library imports
// GetTickCount64, which XP's kernel32 lacks, so a missing import would stop
// the loader before any of our code runs. This definition of the import
// slot takes its place: the real function where it exists, else the 32-bit
// tick count (the library only measures short waits with it).
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64()
{
    using Proc = ULONGLONG(WINAPI*)();
    const auto real = reinterpret_cast<Proc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
    return real != nullptr ? real() : GetTickCount();
}

}  // namespace

extern "C" ULONGLONG(WINAPI* const cvn_imp_GetTickCount64)() __asm__("__imp__GetTickCount64@0");
extern "C" ULONGLONG(WINAPI* const cvn_imp_GetTickCount64)() = TickCount64;
