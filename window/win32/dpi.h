#pragma once

// The per-monitor DPI functions of Windows 10, with fallbacks for the
// Windows versions that lack them (7 and 8 have only the system DPI). They
// are looked up in user32.dll at run time, so the program starts on every
// version its manifest names.

#include <windows.h>

namespace kalvetor::win32 {

// The DPI the window is shown at: its monitor's with per-monitor awareness,
// else the system DPI.
UINT dpiOfWindow(HWND window);

// The outer rectangle of a window whose client area is `client`.
bool adjustWindowRectForDpi(RECT& client, DWORD style, DWORD exStyle, UINT dpi);

// A system metric (icon sizes) at a DPI.
int systemMetricForDpi(int index, UINT dpi);

}  // namespace kalvetor::win32
