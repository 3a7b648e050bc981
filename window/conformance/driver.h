#pragma once

// What the conformance suite needs of a front end: a driver that opens the
// real window in this process and works it as a user does, with input that
// goes through the toolkit's or the platform's own event handling. Each
// front end implements it once (window/<front end>/tests/); the suite
// (conformance_test.cpp) then checks every front end against the window
// definition and the catalogue with the same expectations.
//
// Coordinates are in pixels of the window's client area, at the resolution
// the window is laid out for (dpi()).

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "window/definition.h"

namespace definition {

// How failure messages show a rectangle: "left,top widthxheight".
inline void PrintTo(const PixelRect& rect, std::ostream* out) {
    *out << rect.left << "," << rect.top << " " << rect.width << "x" << rect.height;
}

}  // namespace definition

namespace conformance {

using definition::PixelRect;

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The font a control really draws with, as the platform resolved it.
struct FontInUse {
    std::string family;   // the face actually used, after any substitution
    int pixelHeight = 0;  // the em height in pixels
    int weight = 0;       // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// How the window's frame lets the user change it.
struct Frame {
    bool resizable = true;
    bool minimiseButton = true;
    bool maximiseButton = true;
    bool systemMenu = false;
    bool closeButton = false;
};

enum class Key {
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    Tab,
    ShiftTab,
    Delete,
    Backspace,
    Return,
    Space,
    SelectAll,  // Ctrl+A
    Copy,       // Ctrl+C
    Paste,      // Ctrl+V
    Cut,        // Ctrl+X
};

// The key as a user names it, for messages and test names.
constexpr std::string_view nameOf(Key key) {
    switch (key) {
        case Key::Up: return "Up";
        case Key::Down: return "Down";
        case Key::Left: return "Left";
        case Key::Right: return "Right";
        case Key::Home: return "Home";
        case Key::End: return "End";
        case Key::PageUp: return "PageUp";
        case Key::PageDown: return "PageDown";
        case Key::Tab: return "Tab";
        case Key::ShiftTab: return "Shift+Tab";
        case Key::Delete: return "Delete";
        case Key::Backspace: return "Backspace";
        case Key::Return: return "Return";
        case Key::Space: return "Space";
        case Key::SelectAll: return "Ctrl+A";
        case Key::Copy: return "Ctrl+C";
        case Key::Paste: return "Ctrl+V";
        case Key::Cut: return "Ctrl+X";
    }
    return "?";
}

// How test parameters and failure messages show a key.
inline void PrintTo(Key key, std::ostream* out) {
    *out << nameOf(key);
}

// A key held down around another key or a click.
enum class Modifier { None, Shift, Control };

class Driver {
public:
    virtual ~Driver() = default;

    // Opens a new window, as the program does at start, and waits until it
    // is shown, active and ready for input. Any window the driver opened
    // before is closed first.
    virtual void start() = 0;

    // The resolution the window is laid out for: 96 unless scaled.
    virtual int dpi() = 0;
    virtual PixelRect clientSize() = 0;  // left and top are 0
    // Where the window's frame lies within the screen's work area, and that
    // work area, both in screen pixels.
    virtual PixelRect frameOnScreen() = 0;
    virtual PixelRect workArea() = 0;
    virtual Frame frame() = 0;
    // Why the window has no frame of its own to check (a web page lives in
    // the browser's window, whose title bar and border are the browser's),
    // or nothing where it has one.
    virtual std::string withoutFrame() { return {}; }
    virtual std::u16string caption() = 0;

    // The control's rectangle in the client area; nothing when it is not
    // shown at all.
    virtual std::optional<PixelRect> controlRect(const definition::Control& control) = 0;
    // The colour the window shows at a client pixel, read from what it drew;
    // and the colours of a client rectangle, row by row, read at once.
    virtual Rgb colourAt(int x, int y) = 0;
    virtual std::vector<Rgb> coloursIn(const PixelRect& area) = 0;
    // The background the platform gives a text box that keeps its standard
    // colours.
    virtual Rgb standardBoxBackground() = 0;
    virtual FontInUse fontOf(const definition::Control& control) = 0;
    // The caption of the title label.
    virtual std::u16string labelText() = 0;

    // The control that has the keyboard focus, or nothing.
    virtual const definition::Control* focused() = 0;
    // Sends a key press and release to the control with the focus, the
    // modifier held down around them.
    virtual void press(Key key, Modifier modifier) = 0;
    void press(Key key) { press(key, Modifier::None); }
    // Types the characters into the control with the focus, key by key.
    virtual void type(std::u16string_view text) = 0;

    // The name list: its items, its selection (-1 for none), the height of
    // one row, and a left click in the middle of an entry's row after
    // scrolling it into view.
    virtual std::u16string listItem(int row) = 0;
    virtual int listCount() = 0;
    virtual int selectedEntry() = 0;
    virtual int listRowHeight() = 0;
    // The height inside the list's border, where the rows are.
    virtual int listInnerHeight() = 0;
    virtual void clickEntry(int row) = 0;
    // Whether the list sorts what it holds, as the toolkit reports it (the
    // names are stored in order, so sorting would not show).
    virtual bool listSorted() = 0;

    // The description box: its whole text (line breaks as "\n"), the first
    // line it shows, and scrolling it to its end as the user would.
    virtual std::u16string boxText() = 0;
    virtual int boxFirstVisibleLine() = 0;
    virtual void scrollBoxToEnd() = 0;
    virtual bool boxHasTextSelected() = 0;
    virtual int boxCaretPosition() = 0;

    // The mouse at any point of the client area, as a user moves it there: a
    // left click with the modifier held, a double click, a drag with the
    // left button held from one point to another, and turns of the wheel
    // (whole notches; positive turns away from the user).
    virtual void clickAt(int x, int y, Modifier modifier) = 0;
    virtual void doubleClickAt(int x, int y) = 0;
    virtual void drag(int fromX, int fromY, int toX, int toY) = 0;
    virtual void turnWheelAt(int x, int y, int notches) = 0;

    virtual void setClipboard(std::u16string_view text) = 0;
    virtual std::u16string clipboard() = 0;

    // Closes the window as the user does, lets the program end, and returns
    // its exit status. Win32 sends Alt+F4, which the system handles itself.
    // On X11 Alt+F4 and the close button are the window manager's, which
    // asks the window to close as QWidget::close() does; the Qt driver calls
    // that, and the real-window test (check_real_window.sh) presses Alt+F4.
    virtual int closeAndWaitForExit() = 0;

    // How many random actions the monkey test takes unless told otherwise:
    // what this front end works through in well under a minute.
    virtual int monkeyActions() = 0;
};

// Made by the front end's driver source, linked into its conformance test.
std::unique_ptr<Driver> makeDriver();

}  // namespace conformance
