#include "skin/SkinScale.h"

#include "framework/ScopedHandles.h"
#include "framework/SystemLibrary.h"

namespace {
using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
// shcore's GetDpiForMonitor, MDT_EFFECTIVE_DPI = 0.
using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
}  // namespace

SkinScale ScaleOfWindow(HWND window)
{
    SkinScale scale;
    const auto forWindow = SystemProcedureAs<GetDpiForWindowProc>(L"user32.dll", "GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi != 0) {
            scale.dpi = static_cast<int>(dpi);
            return scale;
        }
    }
    const auto forMonitor = SystemProcedureAs<GetDpiForMonitorProc>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    if (forMonitor != nullptr && window != nullptr &&
        SUCCEEDED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && y != 0) {
        scale.dpi = static_cast<int>(y);
        return scale;
    }
    ClientDC screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    if (dpi > 0) {
        scale.dpi = dpi;
    }
    return scale;
}
