#include "window/win32/main_window.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "resources/identity.h"
#include "window/caption.h"
#include "window/win32/dpi.h"
#include "window/win32/text.h"

namespace kalvetor::win32 {
namespace {

using definition::Control;
using definition::ControlKind;
using definition::kControls;
using definition::kWindow;

// Each control's ID, its window menu handle at creation: its index in the
// definition, plus one (0 is no control).
int controlId(std::size_t index) {
    return static_cast<int>(index) + 1;
}

std::optional<std::size_t> indexOfId(int id) {
    if (id < 1 || static_cast<std::size_t>(id) > kControls.size()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(id - 1);
}

COLORREF colorRef(definition::Colour colour) {
    return RGB(colour.red(), colour.green(), colour.blue());
}

definition::Colour systemColour(int index) {
    const COLORREF colour = GetSysColor(index);
    return definition::Colour::fromRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

bool highContrastOn() {
    HIGHCONTRASTW highContrast{};
    highContrast.cbSize = sizeof highContrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

std::wstring className() {
    return widenUtf8(kWindow.name);
}

// The description store is the shared one, not a window.
bool isWindowControl(const Control& control) {
    return control.content != definition::Content::Descriptions;
}

DWORD controlStyle(const Control& control) {
    // A control made earlier lies above one made later (a new child goes
    // below its siblings); WS_CLIPSIBLINGS keeps each from painting over
    // those above it, so that the name list covers the label's bottom row.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (control.visible) {
        style |= WS_VISIBLE;
    }
    if (control.takesFocus) {
        style |= WS_TABSTOP;
    }
    const bool vertical = control.scrollBars == definition::ScrollBars::Vertical;
    switch (control.kind) {
        case ControlKind::ListBox:
            // A single selection is the list box's own default. LBS_NOTIFY
            // sends LBN_SELCHANGE and LBN_DBLCLK; without
            // LBS_NOINTEGRALHEIGHT the list trims itself to whole rows.
            style |= LBS_NOTIFY;
            if (control.sorted) {
                style |= LBS_SORT;
            }
            if (!control.wholeRows) {
                style |= LBS_NOINTEGRALHEIGHT;
            }
            if (vertical) {
                style |= WS_VSCROLL;
            }
            break;
        case ControlKind::TextBox:
            if (control.multiLine) {
                style |= ES_MULTILINE;
            }
            if (!control.wordWrap) {
                style |= ES_AUTOHSCROLL;
            }
            if (control.readOnly) {
                style |= ES_READONLY;
            }
            // An edit control keeps its vertical scroll bar, disabled, when
            // the text fits (ES_DISABLENOSCROLL is a rich edit style only).
            if (vertical) {
                style |= WS_VSCROLL;
            }
            switch (control.alignment) {
                case definition::Alignment::Left: style |= ES_LEFT; break;
                case definition::Alignment::Centre: style |= ES_CENTER; break;
                case definition::Alignment::Right: style |= ES_RIGHT; break;
            }
            break;
        case ControlKind::Label:
            style |= SS_NOPREFIX;
            switch (control.alignment) {
                case definition::Alignment::Left: style |= SS_LEFT; break;
                case definition::Alignment::Centre: style |= SS_CENTER; break;
                case definition::Alignment::Right: style |= SS_RIGHT; break;
            }
            if (control.border) {
                style |= WS_BORDER;
            }
            break;
    }
    return style;
}

DWORD controlExStyle(const Control& control) {
    // Lists and text boxes have the sunken edge of their kind; a label's
    // border is the plain line above.
    return control.border && control.kind != ControlKind::Label ? WS_EX_CLIENTEDGE : 0;
}

const wchar_t* controlClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::ListBox: return L"LISTBOX";
        case ControlKind::TextBox: return L"EDIT";
        case ControlKind::Label: return L"STATIC";
    }
    return L"STATIC";
}

int px(definition::Twips twips, UINT dpi) {
    return definition::twipsToPixels(twips, static_cast<int>(dpi));
}

SIZE frameSize(UINT dpi) {
    RECT rect{0, 0, px(kWindow.clientWidth, dpi), px(kWindow.clientHeight, dpi)};
    adjustWindowRectForDpi(rect, windowStyle(), windowExStyle(), dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The top left corner of the frame centred on a monitor's work area.
POINT centredOnWorkArea(HMONITOR monitor, UINT dpi) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    const RECT& area = info.rcWork;
    const SIZE size = frameSize(dpi);
    return {area.left + std::max(0L, (area.right - area.left - size.cx) / 2),
            area.top + std::max(0L, (area.bottom - area.top - size.cy) / 2)};
}

HFONT createWindowFont(UINT dpi) {
    const definition::Font& font = kWindow.font;
    // FF_ROMAN says the face is a serif one, which lets a system without it
    // (Wine: Liberation Serif) put a serif face in its place.
    return CreateFontW(-definition::pointsToPixels(font.points, static_cast<int>(dpi)), 0, 0, 0, font.weight,
                       font.italic, font.underline, font.strikeOut, static_cast<DWORD>(font.characterSet),
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN,
                       widenUtf8(font.family).c_str());
}

HICON loadIcon(HINSTANCE instance, int width, int height) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(KALVETOR_ICON_RESOURCE), IMAGE_ICON,
                                         width, height, LR_DEFAULTCOLOR));
}

}  // namespace

DWORD windowStyle() {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    if (kWindow.systemMenu) {
        style |= WS_SYSMENU;
    }
    if (kWindow.minimiseButton) {
        style |= WS_MINIMIZEBOX;
    }
    if (kWindow.maximiseButton) {
        style |= WS_MAXIMIZEBOX;
    }
    if (kWindow.resizable) {
        style |= WS_THICKFRAME;
    }
    return style;
}

DWORD windowExStyle() {
    return 0;
}

Kalvetor::Kalvetor(HINSTANCE instance) : instance_(instance) {}

// The controls go before the font, brushes and icons they use.
Kalvetor::~Kalvetor() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

std::unique_ptr<Kalvetor> Kalvetor::create(HINSTANCE instance) {
    const std::wstring name = className();
    WNDCLASSEXW windowClass{};
    if (!GetClassInfoExW(instance, name.c_str(), &windowClass)) {
        windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Kalvetor::windowProcedure;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // No class icons: each window sets its own, in the sizes for its DPI.
        // The background is painted in WM_ERASEBKGND with the window's brush.
        windowClass.hbrBackground = nullptr;
        windowClass.lpszClassName = name.c_str();
        if (RegisterClassExW(&windowClass) == 0) {
            return nullptr;
        }
    }

    std::unique_ptr<Kalvetor> window(new Kalvetor(instance));
    window->chooseColours();
    const std::wstring caption = toWide(frontend::caption());
    // Made hidden, centred on the primary monitor's work area for the system
    // DPI, which is the primary monitor's on most systems; sized again below
    // where the window's own DPI turns out to be another.
    const UINT systemDpi = dpiOfWindow(nullptr);
    const POINT centred = centredOnWorkArea(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), systemDpi);
    const SIZE size = frameSize(systemDpi);
    if (CreateWindowExW(windowExStyle(), name.c_str(), caption.c_str(), windowStyle(), centred.x, centred.y,
                        size.cx, size.cy, nullptr, nullptr, instance, window.get()) == nullptr) {
        return nullptr;
    }
    if (!window->createControls()) {
        return nullptr;
    }
    // Content last, once each control has its size and font: an edit
    // control wraps its whole text again at every change of either.
    const UINT dpi = dpiOfWindow(window->window_);
    window->layOut(dpi);
    window->fillControls();
    if (dpi != systemDpi) {
        window->sizeFrame(
            dpi, centredOnWorkArea(MonitorFromWindow(window->window_, MONITOR_DEFAULTTOPRIMARY), dpi));
    }
    return window;
}

bool Kalvetor::createControls() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const Control& control = kControls[i];
        if (!isWindowControl(control)) {
            continue;
        }
        // Made in the definition's order, which is their order from the top
        // down where they overlap; placed by layOut().
        controls_[i] = CreateWindowExW(
            controlExStyle(control), controlClass(control.kind), L"", controlStyle(control), 0, 0, 0, 0,
            window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(i))), instance_, nullptr);
        if (controls_[i] == nullptr) {
            return false;
        }
    }
    selection_ = std::make_unique<Win32Controls>(store_, controlHandle(definition::kNameList),
                                                 controlHandle(definition::kDescriptionBox));
    // The focus goes to the first control in the tab order when the window
    // is first activated.
    focusToRestore_ = nullptr;
    moveFocus(true);
    return true;
}

void Kalvetor::fillControls() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const Control& control = kControls[i];
        if (controls_[i] == nullptr) {
            continue;
        }
        switch (control.content) {
            case definition::Content::Names:
                // Drawn once, when all names are in, rather than after each.
                SendMessageW(controls_[i], WM_SETREDRAW, FALSE, 0);
                SendMessageW(controls_[i], LB_INITSTORAGE, catalogue::kNames.size(),
                             64 * catalogue::kNames.size());
                for (const std::string_view name : catalogue::kNames) {
                    const std::wstring item = toWide(catalogue::decodeCp1251(name));
                    SendMessageW(controls_[i], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
                }
                SendMessageW(controls_[i], WM_SETREDRAW, TRUE, 0);
                break;
            case definition::Content::Introduction:
                replaceEditText(controls_[i], catalogue::decodeCp1251(catalogue::kIntroduction));
                break;
            case definition::Content::Title:
                SetWindowTextW(controls_[i], toWide(catalogue::decodeCp1251(catalogue::kTitle)).c_str());
                break;
            case definition::Content::Descriptions: break;
        }
    }
}

HWND Kalvetor::controlHandle(const Control& control) const {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (&kControls[i] == &control) {
            return controls_[i];
        }
    }
    return nullptr;
}

void Kalvetor::layOut(UINT dpi) {
    dpi_ = dpi;
    ScopedGdiObject<HFONT> font(createWindowFont(dpi));
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (controls_[i] == nullptr) {
            continue;
        }
        const definition::PixelRect rect = definition::pixelRect(kControls[i].rect, static_cast<int>(dpi));
        // The font first: a list trims its height to whole rows of it.
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        SetWindowPos(controls_[i], nullptr, rect.left, rect.top, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The previous font goes, now that no control uses it.
    font_ = std::move(font);
    setIcons(dpi);
    InvalidateRect(window_, nullptr, TRUE);
}

void Kalvetor::sizeFrame(UINT dpi, POINT topLeft) {
    const SIZE size = frameSize(dpi);
    SetWindowPos(window_, nullptr, topLeft.x, topLeft.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Kalvetor::setIcons(UINT dpi) {
    ScopedIcon big(
        loadIcon(instance_, systemMetricForDpi(SM_CXICON, dpi), systemMetricForDpi(SM_CYICON, dpi)));
    ScopedIcon small(
        loadIcon(instance_, systemMetricForDpi(SM_CXSMICON, dpi), systemMetricForDpi(SM_CYSMICON, dpi)));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void Kalvetor::show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
}

void Kalvetor::moveFocus(bool forward) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (controls_[i] != nullptr && kControls[i].takesFocus && kControls[i].visible) {
            order.push_back(i);
        }
    }
    if (order.empty()) {
        return;
    }
    std::sort(order.begin(), order.end(),
              [](std::size_t a, std::size_t b) { return kControls[a].tabPlace < kControls[b].tabPlace; });
    const HWND focus = GetFocus();
    const auto at =
        std::find_if(order.begin(), order.end(), [&](std::size_t i) { return controls_[i] == focus; });
    std::size_t next = 0;
    if (at == order.end()) {
        next = forward ? 0 : order.size() - 1;
    } else {
        const std::size_t place = static_cast<std::size_t>(at - order.begin());
        next = forward ? (place + 1) % order.size() : (place + order.size() - 1) % order.size();
    }
    focusToRestore_ = controls_[order[next]];
    if (GetActiveWindow() == window_) {
        SetFocus(focusToRestore_);
    }
}

void Kalvetor::chooseColours() {
    colours_ =
        frontend::windowColours({.window = {systemColour(COLOR_WINDOW), systemColour(COLOR_WINDOWTEXT)},
                                 .button = {systemColour(COLOR_BTNFACE), systemColour(COLOR_BTNTEXT)},
                                 .highContrast = highContrastOn()});
    windowBrush_ = ScopedGdiObject<HBRUSH>(CreateSolidBrush(colorRef(colours_.window.background)));
    labelBrush_ = ScopedGdiObject<HBRUSH>(CreateSolidBrush(colorRef(colours_.label.background)));
}

std::optional<std::size_t> Kalvetor::controlIndex(HWND control) const {
    const std::optional<std::size_t> index = indexOfId(GetDlgCtrlID(control));
    return index && controls_[*index] == control ? index : std::nullopt;
}

HBRUSH Kalvetor::colourStatic(HDC dc, HWND control) {
    const std::optional<std::size_t> index = controlIndex(control);
    if (!index) {
        return nullptr;
    }
    const Control& definition = kControls[*index];
    if (definition.kind == ControlKind::Label) {
        if (!definition.opaque) {
            SetTextColor(dc, colorRef(colours_.window.text));
            SetBkMode(dc, TRANSPARENT);
            return windowBrush_.get();
        }
        const frontend::ColourPair& colours = definition.background ? colours_.label : colours_.window;
        SetTextColor(dc, colorRef(colours.text));
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, colorRef(colours.background));
        return definition.background ? labelBrush_.get() : windowBrush_.get();
    }
    // A read-only edit asks with WM_CTLCOLORSTATIC too; it keeps a text
    // box's standard colours.
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

Kalvetor* Kalvetor::owning(HWND window) {
    const HWND root = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    if (root == nullptr ||
        GetWindowLongPtrW(root, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Kalvetor::windowProcedure)) {
        return nullptr;
    }
    return reinterpret_cast<Kalvetor*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

bool Kalvetor::handleKey(HWND target, WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (key == VK_TAB && !control && !alt) {
        moveFocus(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    // Ctrl+A selects a text box's whole text, as in every other Windows
    // text field; a multi-line edit control has no such key of its own.
    if (key == 'A' && control && !alt) {
        for (std::size_t i = 0; i < kControls.size(); ++i) {
            if (controls_[i] == target && kControls[i].kind == ControlKind::TextBox) {
                SendMessageW(target, EM_SETSEL, 0, -1);
                return true;
            }
        }
    }
    return false;
}

void Kalvetor::handleMessage(MSG& message) {
    if (message.message == WM_KEYDOWN) {
        if (Kalvetor* window = owning(message.hwnd);
            window != nullptr && window->handleKey(message.hwnd, message.wParam)) {
            return;
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

LRESULT CALLBACK Kalvetor::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Kalvetor*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Kalvetor*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->controls_.fill(nullptr);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Kalvetor::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, windowBrush_.get());
            return 1;
        }
        case WM_CTLCOLORSTATIC:
            if (const HBRUSH brush =
                    colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_COMMAND: {
            // A control's notification, sent with its ID and handle. A quick
            // second click on the selected name comes as a double click; it
            // shows the entry again like any other click.
            const auto code = HIWORD(wParam);
            if (lParam != 0 && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) {
                if (const std::optional<std::size_t> index = indexOfId(LOWORD(wParam));
                    index && kControls[*index].kind == ControlKind::ListBox) {
                    selection_->showSelectedDescription(kControls[*index].member);
                }
                return 0;
            }
            break;
        }
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            // The system's colours, or high contrast turned on or off.
            if (message == WM_SYSCOLORCHANGE || wParam == SPI_SETHIGHCONTRAST) {
                chooseColours();
                RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) {
                    focusToRestore_ = focus;
                }
            } else if (focusToRestore_ != nullptr && IsWindow(focusToRestore_)) {
                SetFocus(focusToRestore_);
            }
            return 0;
        case WM_SETFOCUS:
            if (focusToRestore_ != nullptr && IsWindow(focusToRestore_)) {
                SetFocus(focusToRestore_);
            }
            return 0;
        case WM_GETDPISCALEDSIZE: {
            // The frame for the new DPI, so that the client area keeps its
            // size in twips exactly.
            *reinterpret_cast<SIZE*>(lParam) = frameSize(static_cast<UINT>(wParam));
            return TRUE;
        }
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            const UINT dpi = HIWORD(wParam);
            layOut(dpi);
            sizeFrame(dpi, {suggested->left, suggested->top});
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

int runMessageLoop() {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 1;
        }
        Kalvetor::handleMessage(message);
    }
}

}  // namespace kalvetor::win32
