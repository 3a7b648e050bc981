#include "window/win32/dpi.h"

namespace kalvetor::win32 {
namespace {

// A function of user32.dll, or null where this Windows has none.
template <typename Function>
Function user32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) {
        return nullptr;
    }
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

UINT systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT dpiOfWindow(HWND window) {
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return dpi;
        }
    }
    return systemDpi();
}

bool adjustWindowRectForDpi(RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjust = user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjust != nullptr) {
        return adjust(&client, style, FALSE, exStyle, dpi) != FALSE;
    }
    return AdjustWindowRectEx(&client, style, FALSE, exStyle) != FALSE;
}

int systemMetricForDpi(int index, UINT dpi) {
    static const auto metric = user32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (metric != nullptr) {
        return metric(index, dpi);
    }
    return GetSystemMetrics(index);
}

}  // namespace kalvetor::win32
