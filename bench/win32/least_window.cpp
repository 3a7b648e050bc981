// The least Win32 program Kalvetor.exe's start-up and memory are measured
// against: one window with the same client size, frame and font, drawing one
// word. The same DPI awareness is set in code rather than by a manifest.

#include <windows.h>

#include <string>

#include "window/definition.h"

namespace {

using definition::kWindow;

HFONT font = nullptr;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            const HGDIOBJ previous = SelectObject(dc, font);
            TextOutW(dc, 8, 8, L"Калветор", 8);
            SelectObject(dc, previous);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    SetProcessDPIAware();
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    const definition::Font& f = kWindow.font;
    const std::wstring family(f.family.begin(), f.family.end());
    font = CreateFontW(-definition::pointsToPixels(f.points, dpi), 0, 0, 0, f.weight, f.italic, f.underline,
                       f.strikeOut, static_cast<DWORD>(f.characterSet), OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, family.c_str());

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"LeastWindow";
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, definition::twipsToPixels(kWindow.clientWidth, dpi),
               definition::twipsToPixels(kWindow.clientHeight, dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND window = CreateWindowExW(0, L"LeastWindow", L"least", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                        instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return static_cast<int>(message.wParam);
}
