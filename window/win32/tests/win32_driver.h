#pragma once

// The conformance suite's driver for the Win32 window: the window runs in
// the test's own thread, through the program's own message handling
// (Kalvetor::handleMessage), and is worked with real input (SendInput),
// read back with the controls' own messages (WM_GETTEXT, LB_GETCURSEL,
// EM_GETSEL) and the clipboard. Every wait is for an event, bounded by a
// generous time-out.

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "window/conformance/driver.h"
#include "window/win32/main_window.h"

namespace kalvetor::win32::testing {

class Win32Driver final : public conformance::Driver {
public:
    Win32Driver() = default;
    ~Win32Driver() override;

    void start() override;
    int dpi() override;
    conformance::PixelRect clientSize() override;
    conformance::PixelRect frameOnScreen() override;
    conformance::PixelRect workArea() override;
    conformance::Frame frame() override;
    std::u16string caption() override;
    std::optional<conformance::PixelRect> controlRect(const definition::Control& control) override;
    conformance::Rgb colourAt(int x, int y) override;
    std::vector<conformance::Rgb> coloursIn(const conformance::PixelRect& area) override;
    conformance::Rgb standardBoxBackground() override;
    conformance::FontInUse fontOf(const definition::Control& control) override;
    std::u16string labelText() override;
    const definition::Control* focused() override;
    using conformance::Driver::press;
    void press(conformance::Key key, conformance::Modifier modifier) override;
    void type(std::u16string_view text) override;
    std::u16string listItem(int row) override;
    int listCount() override;
    int selectedEntry() override;
    int listRowHeight() override;
    int listInnerHeight() override;
    void clickEntry(int row) override;
    bool listSorted() override;
    std::u16string boxText() override;
    int boxFirstVisibleLine() override;
    void scrollBoxToEnd() override;
    bool boxHasTextSelected() override;
    int boxCaretPosition() override;
    void clickAt(int x, int y, conformance::Modifier modifier) override;
    void doubleClickAt(int x, int y) override;
    void drag(int fromX, int fromY, int toX, int toY) override;
    void turnWheelAt(int x, int y, int notches) override;
    void setClipboard(std::u16string_view text) override;
    std::u16string clipboard() override;
    int closeAndWaitForExit() override;
    int monkeyActions() override;

    // Beyond the suite: the window itself, and a click at a point of a
    // control's client area (two such clicks close together in time and
    // place make a double click).
    Kalvetor& window();
    HWND control(const definition::Control& control);
    void clickAt(HWND control, POINT point, conformance::Modifier modifier = conformance::Modifier::None);
    // Handles the queued messages, as the program's loop would, until the
    // condition holds; false after the time-out.
    bool pumpUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Handles what is queued now and what that leads to, until the queue is
    // empty.
    void settle();

private:
    // Sends the events and handles messages until they have all gone
    // through the loop.
    void send(std::vector<INPUT> inputs);
    void closeWindow();
    // The absolute mouse move to a point of the client area.
    INPUT moveTo(int x, int y);

    std::unique_ptr<Kalvetor> window_;
    int markersSeen_ = 0;
    bool quitSeen_ = false;
    POINT lastClick_{-1000, -1000};  // on the screen
    DWORD lastClickTime_ = 0;
    int exitCode_ = -1;
};

}  // namespace kalvetor::win32::testing
