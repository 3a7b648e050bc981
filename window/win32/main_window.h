#pragma once

// Kalvetor's one window on the plain Win32 API, built from the window
// definition: the frame and client size, the background, the font, and the
// label, the name list and the description box, each a standard control
// created in the definition's order at the pixel rectangle its twips give at
// the window's DPI. A change of DPI (WM_DPICHANGED) lays everything out
// again at the new resolution. The window and the label show the designed
// colours, or the system's in high contrast (see window/colours.h), and
// follow a change of either while open.

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "window/colours.h"
#include "window/definition.h"
#include "window/win32/scoped_handle.h"
#include "window/win32/win32_controls.h"
#include "window/window_controls.h"

namespace kalvetor::win32 {

class Kalvetor {
public:
    // Creates the window, hidden, centred on the primary monitor's work area,
    // with the introduction in the box and the focus to go to the box;
    // nothing on failure.
    static std::unique_ptr<Kalvetor> create(HINSTANCE instance);

    Kalvetor(const Kalvetor&) = delete;
    Kalvetor& operator=(const Kalvetor&) = delete;
    ~Kalvetor();

    void show(int showCommand);

    // Null once the window is destroyed.
    HWND handle() const { return window_; }
    // The control standing for a definition control; null for one that is
    // not a window (the description store) or once destroyed.
    HWND controlHandle(const definition::Control& control) const;
    // The DPI the window is laid out for.
    UINT dpi() const { return dpi_; }

    // What the program's message loop does with each message it takes from
    // the queue: Tab and Shift+Tab move the focus between the controls that
    // take it, in the definition's tab order (a multi-line edit would keep
    // the Tab for itself), Ctrl+A selects the box's text; everything else is
    // translated and dispatched.
    static void handleMessage(MSG& message);

private:
    explicit Kalvetor(HINSTANCE instance);

    // The window a window belongs to (itself or its control), if it is one
    // of these.
    static Kalvetor* owning(HWND window);
    // Tab, Shift+Tab and Ctrl+A, pressed in `target`; false for any other key.
    bool handleKey(HWND target, WPARAM key);

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    // The controls, empty and not yet placed; then what each holds.
    bool createControls();
    void fillControls();
    // Font, control rectangles and icons for a DPI.
    void layOut(UINT dpi);
    // The frame around the client area at a DPI, its top left corner there.
    void sizeFrame(UINT dpi, POINT topLeft);
    void setIcons(UINT dpi);
    void moveFocus(bool forward);
    // The colours and brushes of the window and the label for the system's
    // colours and high-contrast setting as they are now.
    void chooseColours();
    HBRUSH colourStatic(HDC dc, HWND control);
    // The index in the definition of one of the window's controls.
    std::optional<std::size_t> controlIndex(HWND control) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::array<HWND, definition::kControls.size()> controls_{};
    HWND focusToRestore_ = nullptr;
    ScopedGdiObject<HFONT> font_;
    frontend::WindowColours colours_{};
    ScopedGdiObject<HBRUSH> windowBrush_;
    ScopedGdiObject<HBRUSH> labelBrush_;
    ScopedIcon bigIcon_;
    ScopedIcon smallIcon_;
    frontend::DescriptionStore store_;
    std::unique_ptr<Win32Controls> selection_;
};

// Runs the thread's message loop until WM_QUIT and returns its exit code.
int runMessageLoop();

// The window style and extended style the window is created with, from the
// definition's frame.
DWORD windowStyle();
DWORD windowExStyle();

}  // namespace kalvetor::win32
