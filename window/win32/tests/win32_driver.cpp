#include "window/win32/tests/win32_driver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "window/conformance/shown_text.h"
#include "window/win32/text.h"
#include "window/win32/win32_controls.h"

namespace kalvetor::win32::testing {
namespace {

using conformance::Key;
using conformance::PixelRect;

std::u16string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return fromWide(text);
}

std::string narrow(std::wstring_view text) {
    std::string out;
    for (const wchar_t c : text) {
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

INPUT keyInput(WORD virtualKey, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    switch (virtualKey) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_DELETE:
        case VK_INSERT: input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY; break;
        default: break;
    }
    if (release) {
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    }
    return input;
}

// A mouse button or wheel event at the pointer's place.
INPUT mouseInput(DWORD flags, DWORD data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    return input;
}

// A key pressed and released, with modifiers held around it.
std::vector<INPUT> chord(std::initializer_list<WORD> modifiers, WORD virtualKey) {
    std::vector<INPUT> inputs;
    for (const WORD modifier : modifiers) {
        inputs.push_back(keyInput(modifier, false));
    }
    inputs.push_back(keyInput(virtualKey, false));
    inputs.push_back(keyInput(virtualKey, true));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
        inputs.push_back(keyInput(*it, true));
    }
    return inputs;
}

std::vector<INPUT> keyChord(Key key) {
    switch (key) {
        case Key::Up: return chord({}, VK_UP);
        case Key::Down: return chord({}, VK_DOWN);
        case Key::Left: return chord({}, VK_LEFT);
        case Key::Right: return chord({}, VK_RIGHT);
        case Key::Home: return chord({}, VK_HOME);
        case Key::End: return chord({}, VK_END);
        case Key::PageUp: return chord({}, VK_PRIOR);
        case Key::PageDown: return chord({}, VK_NEXT);
        case Key::Tab: return chord({}, VK_TAB);
        case Key::ShiftTab: return chord({VK_SHIFT}, VK_TAB);
        case Key::Delete: return chord({}, VK_DELETE);
        case Key::Backspace: return chord({}, VK_BACK);
        case Key::Return: return chord({}, VK_RETURN);
        case Key::Space: return chord({}, VK_SPACE);
        case Key::SelectAll: return chord({VK_CONTROL}, 'A');
        case Key::Copy: return chord({VK_CONTROL}, 'C');
        case Key::Paste: return chord({VK_CONTROL}, 'V');
        case Key::Cut: return chord({VK_CONTROL}, 'X');
    }
    return {};
}

// The modifier's key held down around the inputs.
std::vector<INPUT> holding(conformance::Modifier modifier, std::vector<INPUT> inputs) {
    WORD key = 0;
    switch (modifier) {
        case conformance::Modifier::None: return inputs;
        case conformance::Modifier::Shift: key = VK_SHIFT; break;
        case conformance::Modifier::Control: key = VK_CONTROL; break;
    }
    inputs.insert(inputs.begin(), keyInput(key, false));
    inputs.push_back(keyInput(key, true));
    return inputs;
}

// Every input the driver sends ends with the release of a key that means
// nothing to the window. Input reaches the window's thread in the order it
// was sent, so once the thread's loop has taken that release, all that came
// before it has been handled, or dropped by the system: a click on a
// control's border, where Windows and Wine find no part of a window, reaches
// no window at all.
constexpr WORD kMarkerKey = VK_F24;

bool isMarker(const MSG& message) {
    return message.message == WM_KEYUP && message.wParam == kMarkerKey;
}

// The clipboard, opened for as long as this lives; another program may hold
// it for a moment.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(Win32Driver& driver) {
        driver.pumpUntil([&] { return open_ = OpenClipboard(nullptr) != FALSE; });
    }
    ~OpenClipboardScope() {
        if (open_) {
            CloseClipboard();
        }
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

}  // namespace

Win32Driver::~Win32Driver() {
    closeWindow();
}

Kalvetor& Win32Driver::window() {
    return *window_;
}

HWND Win32Driver::control(const definition::Control& control) {
    return window_ ? window_->controlHandle(control) : nullptr;
}

bool Win32Driver::pumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitSeen_ = true;
                exitCode_ = static_cast<int>(message.wParam);
                continue;
            }
            if (isMarker(message)) {
                ++markersSeen_;
                continue;
            }
            Kalvetor::handleMessage(message);
        }
        if (condition()) {
            return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return false;
        }
        // Wakes at the next message, or soon to look at the condition again.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left < 20 ? left : 20), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

void Win32Driver::settle() {
    MSG message;
    pumpUntil([&] { return !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); });
}

void Win32Driver::send(std::vector<INPUT> inputs) {
    inputs.push_back(keyInput(kMarkerKey, true));
    const int target = markersSeen_ + 1;
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    ASSERT_EQ(sent, inputs.size()) << "SendInput refused the input (error " << GetLastError() << ")";
    EXPECT_TRUE(pumpUntil([&] { return markersSeen_ >= target; })) << "the input did not reach the window";
    settle();
}

void Win32Driver::closeWindow() {
    if (window_ && window_->handle() != nullptr) {
        DestroyWindow(window_->handle());
        EXPECT_TRUE(pumpUntil([&] { return quitSeen_; })) << "no WM_QUIT after the window was destroyed";
    }
    window_.reset();
    settle();
    quitSeen_ = false;
    exitCode_ = -1;
}

void Win32Driver::start() {
    closeWindow();
    window_ = Kalvetor::create(GetModuleHandleW(nullptr));
    ASSERT_TRUE(window_) << "the window could not be created";
    window_->show(SW_SHOWNORMAL);
    const HWND window = window_->handle();
    SetForegroundWindow(window);
    const HWND box = control(definition::kDescriptionBox);
    const bool ready = pumpUntil(
        [&] { return GetForegroundWindow() == window && GetActiveWindow() == window && GetFocus() == box; });
    ASSERT_TRUE(ready) << "the window did not become active with the focus in the box";
    settle();
}

int Win32Driver::dpi() {
    return static_cast<int>(window_->dpi());
}

PixelRect Win32Driver::clientSize() {
    RECT client{};
    GetClientRect(window_->handle(), &client);
    return {0, 0, client.right, client.bottom};
}

PixelRect Win32Driver::frameOnScreen() {
    RECT frame{};
    GetWindowRect(window_->handle(), &frame);
    return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

PixelRect Win32Driver::workArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_->handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

conformance::Frame Win32Driver::frame() {
    const HWND window = window_->handle();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    conformance::Frame frame;
    frame.resizable = (style & WS_THICKFRAME) != 0;
    frame.minimiseButton = (style & WS_MINIMIZEBOX) != 0;
    frame.maximiseButton = (style & WS_MAXIMIZEBOX) != 0;
    frame.systemMenu = (style & WS_SYSMENU) != 0;
    const bool noClose = (GetClassLongPtrW(window, GCL_STYLE) & CS_NOCLOSE) != 0;
    const HMENU menu = frame.systemMenu ? GetSystemMenu(window, FALSE) : nullptr;
    const UINT close = menu != nullptr ? GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : static_cast<UINT>(-1);
    frame.closeButton =
        frame.systemMenu && !noClose && close != static_cast<UINT>(-1) && (close & MF_GRAYED) == 0;
    return frame;
}

std::u16string Win32Driver::caption() {
    return windowText(window_->handle());
}

std::optional<PixelRect> Win32Driver::controlRect(const definition::Control& definitionControl) {
    const HWND handle = control(definitionControl);
    if (handle == nullptr || !IsWindowVisible(handle)) {
        return std::nullopt;
    }
    RECT rect{};
    GetWindowRect(handle, &rect);
    MapWindowPoints(nullptr, window_->handle(), reinterpret_cast<POINT*>(&rect), 2);
    return PixelRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

conformance::Rgb Win32Driver::colourAt(int x, int y) {
    const HWND window = window_->handle();
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    settle();
    // A DC of the whole client area, the controls' pixels included.
    const HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    EXPECT_NE(colour, CLR_INVALID) << "no pixel at " << x << "," << y;
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

std::vector<conformance::Rgb> Win32Driver::coloursIn(const conformance::PixelRect& area) {
    const HWND window = window_->handle();
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    settle();
    // The area copied at once into a top-down 32-bit bitmap, then read.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = area.width;
    info.bmiHeader.biHeight = -area.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
    const HDC memory = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<conformance::Rgb> colours;
    if (memory != nullptr && bitmap != nullptr) {
        const HGDIOBJ previous = SelectObject(memory, bitmap);
        EXPECT_TRUE(BitBlt(memory, 0, 0, area.width, area.height, dc, area.left, area.top, SRCCOPY));
        GdiFlush();
        const auto* pixel = static_cast<const std::uint32_t*>(bits);
        for (int i = 0; i < area.width * area.height; ++i) {
            const std::uint32_t value = pixel[i];  // 0x00RRGGBB
            colours.push_back({static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                               static_cast<int>(value & 0xFF)});
        }
        SelectObject(memory, previous);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    ReleaseDC(window, dc);
    EXPECT_EQ(colours.size(), static_cast<std::size_t>(area.width * area.height))
        << "the area was not copied";
    return colours;
}

conformance::Rgb Win32Driver::standardBoxBackground() {
    const COLORREF colour = GetSysColor(COLOR_WINDOW);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

conformance::FontInUse Win32Driver::fontOf(const definition::Control& definitionControl) {
    const HWND handle = control(definitionControl);
    conformance::FontInUse font;
    const auto hfont = reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0));
    if (hfont == nullptr) {
        ADD_FAILURE() << definitionControl.name << " has no font of its own";
        return font;
    }
    const HDC dc = GetDC(handle);
    const HGDIOBJ previous = SelectObject(dc, hfont);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(handle, dc);
    font.family = narrow(face);
    // The em height. A scalable font asked for with a negative height is
    // realised with exactly that many pixels to the em (the font mapper's
    // rule for a character height); Wine rounds tmInternalLeading apart from
    // tmHeight, so their difference can miss the em by a pixel there. A
    // bitmap font has only its cell less its internal leading.
    LOGFONTW logical{};
    GetObjectW(hfont, sizeof logical, &logical);
    const bool scalable = (metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)) != 0;
    font.pixelHeight =
        scalable && logical.lfHeight < 0 ? -logical.lfHeight : metrics.tmHeight - metrics.tmInternalLeading;
    font.weight = metrics.tmWeight;
    font.italic = metrics.tmItalic != 0;
    font.underline = metrics.tmUnderlined != 0;
    font.strikeOut = metrics.tmStruckOut != 0;
    return font;
}

std::u16string Win32Driver::labelText() {
    return windowText(control(definition::kTitleLabel));
}

const definition::Control* Win32Driver::focused() {
    const HWND focus = GetFocus();
    for (const definition::Control& c : definition::kControls) {
        if (focus != nullptr && control(c) == focus) {
            return &c;
        }
    }
    return nullptr;
}

void Win32Driver::press(Key key, conformance::Modifier modifier) {
    send(holding(modifier, keyChord(key)));
}

void Win32Driver::type(std::u16string_view text) {
    std::vector<INPUT> inputs;
    for (const char16_t unit : text) {
        for (const bool release : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = unit;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (release ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    send(std::move(inputs));
}

std::u16string Win32Driver::listItem(int row) {
    return listBoxItem(control(definition::kNameList), row).value_or(u"");
}

int Win32Driver::listCount() {
    return static_cast<int>(SendMessageW(control(definition::kNameList), LB_GETCOUNT, 0, 0));
}

int Win32Driver::selectedEntry() {
    const LRESULT selected = SendMessageW(control(definition::kNameList), LB_GETCURSEL, 0, 0);
    return selected < 0 ? -1 : static_cast<int>(selected);
}

int Win32Driver::listRowHeight() {
    return static_cast<int>(SendMessageW(control(definition::kNameList), LB_GETITEMHEIGHT, 0, 0));
}

bool Win32Driver::listSorted() {
    return (GetWindowLongPtrW(control(definition::kNameList), GWL_STYLE) & LBS_SORT) != 0;
}

int Win32Driver::listInnerHeight() {
    RECT client{};
    GetClientRect(control(definition::kNameList), &client);
    return client.bottom;
}

void Win32Driver::clickEntry(int row) {
    const HWND list = control(definition::kNameList);
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const int rowHeight = listRowHeight();
    const int rows = rowHeight > 0 ? listInnerHeight() / rowHeight : 1;
    if (row < top || row >= top + rows) {
        // As the scroll bar would, so that the row is in view.
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
        settle();
    }
    RECT item{};
    ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)),
              LB_ERR)
        << "row " << row;
    POINT middle{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    // One click, never the second half of a double click: a click soon after
    // another near the same point (the list may have scrolled in between)
    // goes a little to the side, still well inside the row.
    POINT onScreen = middle;
    ClientToScreen(list, &onScreen);
    const int nearX = GetSystemMetrics(SM_CXDOUBLECLK);
    const int nearY = GetSystemMetrics(SM_CYDOUBLECLK);
    if (GetTickCount() - lastClickTime_ <= GetDoubleClickTime() &&
        std::abs(onScreen.x - lastClick_.x) <= nearX && std::abs(onScreen.y - lastClick_.y) <= nearY) {
        middle.x += middle.x + 2 * nearX < item.right ? 2 * nearX : -2 * nearX;
    }
    clickAt(list, middle);
}

void Win32Driver::clickAt(HWND target, POINT point, conformance::Modifier modifier) {
    MapWindowPoints(target, window_->handle(), &point, 1);
    send(holding(modifier, {moveTo(point.x, point.y), mouseInput(MOUSEEVENTF_LEFTDOWN),
                            mouseInput(MOUSEEVENTF_LEFTUP)}));
    ClientToScreen(window_->handle(), &point);
    lastClick_ = point;
    lastClickTime_ = GetTickCount();
}

void Win32Driver::clickAt(int x, int y, conformance::Modifier modifier) {
    clickAt(window_->handle(), POINT{x, y}, modifier);
}

void Win32Driver::doubleClickAt(int x, int y) {
    const INPUT down = mouseInput(MOUSEEVENTF_LEFTDOWN);
    const INPUT up = mouseInput(MOUSEEVENTF_LEFTUP);
    send({moveTo(x, y), down, up, down, up});
}

void Win32Driver::drag(int fromX, int fromY, int toX, int toY) {
    send({moveTo(fromX, fromY), mouseInput(MOUSEEVENTF_LEFTDOWN), moveTo(toX, toY),
          mouseInput(MOUSEEVENTF_LEFTUP)});
}

void Win32Driver::turnWheelAt(int x, int y, int notches) {
    send({moveTo(x, y), mouseInput(MOUSEEVENTF_WHEEL, static_cast<DWORD>(notches * WHEEL_DELTA))});
}

INPUT Win32Driver::moveTo(int x, int y) {
    POINT point{x, y};
    ClientToScreen(window_->handle(), &point);
    // Absolute coordinates run from 0 to 65536 across the primary screen;
    // rounding up makes Windows' and Wine's truncation land on the pixel.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT move = mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    move.mi.dx = static_cast<LONG>((static_cast<long long>(point.x) * 65536 + width - 1) / width);
    move.mi.dy = static_cast<LONG>((static_cast<long long>(point.y) * 65536 + height - 1) / height);
    return move;
}

std::u16string Win32Driver::boxText() {
    return conformance::withLf(windowText(control(definition::kDescriptionBox)));
}

int Win32Driver::boxFirstVisibleLine() {
    return static_cast<int>(SendMessageW(control(definition::kDescriptionBox), EM_GETFIRSTVISIBLELINE, 0, 0));
}

void Win32Driver::scrollBoxToEnd() {
    // What the box's scroll bar sends when its thumb is taken to the end.
    SendMessageW(control(definition::kDescriptionBox), WM_VSCROLL, SB_BOTTOM, 0);
    settle();
}

bool Win32Driver::boxHasTextSelected() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(control(definition::kDescriptionBox), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start != end;
}

int Win32Driver::boxCaretPosition() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(control(definition::kDescriptionBox), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end);
}

void Win32Driver::setClipboard(std::u16string_view text) {
    const std::wstring wide = toWide(withCrLf(text));
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    ASSERT_NE(memory, nullptr);
    std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
    GlobalUnlock(memory);
    OpenClipboardScope scope(*this);
    ASSERT_TRUE(scope.open()) << "the clipboard could not be opened";
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
        ADD_FAILURE() << "the clipboard took no text";
    }
}

std::u16string Win32Driver::clipboard() {
    OpenClipboardScope scope(*this);
    if (!scope.open()) {
        ADD_FAILURE() << "the clipboard could not be opened";
        return {};
    }
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) {
        return {};
    }
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    std::u16string result = text != nullptr ? conformance::withLf(fromWide(text)) : std::u16string();
    GlobalUnlock(data);
    return result;
}

// Under Wine 8 on the machine the tests were written on, about 150 actions
// a second, the checks between them included.
int Win32Driver::monkeyActions() {
    return 4'000;
}

int Win32Driver::closeAndWaitForExit() {
    // Alt+F4, then the loop runs until WM_QUIT. The window is gone before the
    // keys are released, so the wait is for the quit message.
    std::vector<INPUT> altF4 = chord({VK_MENU}, VK_F4);
    const UINT sent = SendInput(static_cast<UINT>(altF4.size()), altF4.data(), sizeof(INPUT));
    EXPECT_EQ(sent, altF4.size());
    if (!pumpUntil([&] { return quitSeen_; })) {
        ADD_FAILURE() << "the program did not end after Alt+F4";
        return -1;
    }
    EXPECT_EQ(window_->handle(), nullptr) << "the loop ended with the window still there";
    settle();
    const int status = exitCode_;
    window_.reset();
    quitSeen_ = false;
    exitCode_ = -1;
    return status;
}

}  // namespace kalvetor::win32::testing

namespace conformance {

std::unique_ptr<Driver> makeDriver() {
    return std::make_unique<kalvetor::win32::testing::Win32Driver>();
}

}  // namespace conformance
