// What the conformance suite leaves to each front end, for the Win32 window:
// a change of DPI while it is open, a failed selection's one line of debug
// output, the double click on the selected name, the icons, the scroll bar
// and colours of the box, and the text conversions for the edit control.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "catalogue/selection.h"
#include "window/conformance/shown_text.h"
#include "window/definition.h"
#include "window/win32/dpi.h"
#include "window/win32/tests/win32_driver.h"
#include "window/win32/text.h"

namespace kalvetor::win32::testing {
namespace {

using conformance::PixelRect;
using definition::kWindow;

// The lines the process writes with OutputDebugString while one of these
// lives, caught as the debug-print exceptions Windows raises for them.
class DebugOutput {
public:
    DebugOutput() {
        current_ = this;
        handler_ = AddVectoredExceptionHandler(1, &DebugOutput::handle);
    }
    ~DebugOutput() {
        RemoveVectoredExceptionHandler(handler_);
        current_ = nullptr;
    }
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;

    // One entry per OutputDebugString call: Windows raises the wide form,
    // and a system may raise the narrow one after it for the same call.
    std::vector<std::string> lines() const { return wide_.empty() ? narrow_ : wide_; }

private:
    static LONG CALLBACK handle(EXCEPTION_POINTERS* exception) {
        const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
        if (current_ == nullptr || record.NumberParameters < 2) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        const auto length = static_cast<std::size_t>(record.ExceptionInformation[0]);
        if (record.ExceptionCode == DBG_PRINTEXCEPTION_WIDE_C) {
            const auto* text = reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]);
            std::string line;
            for (std::size_t i = 0; i < length && text[i] != L'\0'; ++i) {
                line += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
            }
            current_->wide_.push_back(line);
        } else if (record.ExceptionCode == DBG_PRINTEXCEPTION_C) {
            const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
            current_->narrow_.emplace_back(text, strnlen(text, length));
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static inline DebugOutput* current_ = nullptr;
    PVOID handler_ = nullptr;
    std::vector<std::string> wide_;
    std::vector<std::string> narrow_;
};

// EnumThreadWindows' callback, a CALLBACK (stdcall on 32-bit Windows) as
// no lambda can be.
BOOL CALLBACK countVisibleWindow(HWND window, LPARAM counter) {
    if (IsWindowVisible(window)) {
        ++*reinterpret_cast<int*>(counter);
    }
    return TRUE;
}

// The visible top-level windows of this thread: the main window, and any
// message box a failure might have raised.
int visibleWindowsOfThisThread() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countVisibleWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

class Win32Window : public ::testing::Test {
protected:
    void SetUp() override { driver_.start(); }

    HWND main() { return driver_.window().handle(); }
    HWND list() { return driver_.control(definition::kNameList); }
    HWND box() { return driver_.control(definition::kDescriptionBox); }

    // The middle of a row of the list, shifted along it by `dx`.
    POINT rowPoint(int row, int dx = 0) {
        RECT item{};
        SendMessageW(list(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return {(item.left + item.right) / 2 + dx, (item.top + item.bottom) / 2};
    }

    void expectLaidOutFor(int dpi) {
        for (const definition::Control& control : definition::kControls) {
            const HWND handle = driver_.control(control);
            if (!control.visible) {
                EXPECT_EQ(handle, nullptr) << control.name << " is not a window";
                continue;
            }
            const std::optional<PixelRect> rect = driver_.controlRect(control);
            ASSERT_TRUE(rect.has_value()) << control.name;
            const PixelRect defined = definition::pixelRect(control.rect, dpi);
            if (control.kind == definition::ControlKind::ListBox && control.wholeRows) {
                EXPECT_EQ(rect->left, defined.left);
                EXPECT_EQ(rect->top, defined.top);
                EXPECT_EQ(rect->width, defined.width);
                EXPECT_LE(rect->height, defined.height);
                EXPECT_GT(rect->height, defined.height - driver_.listRowHeight());
                EXPECT_EQ(driver_.listInnerHeight() % driver_.listRowHeight(), 0);
            } else {
                EXPECT_EQ(*rect, defined) << control.name << " at " << dpi << " dpi";
            }
            EXPECT_EQ(driver_.fontOf(control).pixelHeight,
                      definition::pointsToPixels(kWindow.font.points, dpi))
                << control.name << " at " << dpi << " dpi";
        }
    }

    Win32Driver driver_;
};

TEST_F(Win32Window, KeepsEveryControlWithinTheClientArea) {
    const PixelRect client = driver_.clientSize();
    for (const definition::Control& control : definition::kControls) {
        if (const std::optional<PixelRect> rect = driver_.controlRect(control)) {
            EXPECT_GE(rect->left, 0) << control.name;
            EXPECT_GE(rect->top, 0) << control.name;
            EXPECT_LE(rect->left + rect->width, client.width) << control.name;
            EXPECT_LE(rect->top + rect->height, client.height) << control.name;
        }
    }
    // The title's caption, in the label's own font, fits the label whole.
    const HWND label = driver_.control(definition::kTitleLabel);
    const std::u16string title = driver_.labelText();
    const HDC dc = GetDC(label);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(title.c_str()),
                                      static_cast<int>(title.size()), &extent));
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    RECT inside{};
    GetClientRect(label, &inside);
    EXPECT_LE(extent.cx, inside.right) << "at " << driver_.dpi() << " dpi";
    EXPECT_LE(extent.cy, inside.bottom) << "at " << driver_.dpi() << " dpi";
}

TEST_F(Win32Window, LaysItselfOutAgainWhenItsDpiChanges) {
    const int original = driver_.dpi();
    for (const int dpi : {144, 192, original}) {
        // Windows suggests a frame on the screen; near its top left corner
        // the window fits at every DPI here, and no window manager moves it.
        RECT frame{};
        GetWindowRect(main(), &frame);
        OffsetRect(&frame, 40 - frame.left, 40 - frame.top);
        SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
        // Under Wine 10 the window gets there a moment later, once X has
        // moved it.
        driver_.pumpUntil([&] {
            RECT now{};
            GetWindowRect(main(), &now);
            return now.left == frame.left && now.top == frame.top;
        });
        driver_.settle();
        ASSERT_EQ(driver_.dpi(), dpi);
        expectLaidOutFor(dpi);

        // The frame is the one Windows gives that client area at that DPI.
        // (Wine draws every frame at its system DPI, so under Wine only the
        // requested frame is checked here; the suite at 144 and 192 dpi
        // checks the client area itself.)
        RECT expected{0, 0, definition::twipsToPixels(kWindow.clientWidth, dpi),
                      definition::twipsToPixels(kWindow.clientHeight, dpi)};
        adjustWindowRectForDpi(expected, windowStyle(), windowExStyle(), static_cast<UINT>(dpi));
        RECT now{};
        GetWindowRect(main(), &now);
        EXPECT_EQ(now.right - now.left, expected.right - expected.left) << dpi << " dpi";
        EXPECT_EQ(now.bottom - now.top, expected.bottom - expected.top) << dpi << " dpi";
        EXPECT_EQ(now.left, frame.left);
        EXPECT_EQ(now.top, frame.top);
    }
}

TEST_F(Win32Window, AnswersTheScaledSizeForANewDpiWithTheExactFrame) {
    SIZE size{};
    ASSERT_TRUE(SendMessageW(main(), WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&size)));
    RECT expected{0, 0, definition::twipsToPixels(kWindow.clientWidth, 144),
                  definition::twipsToPixels(kWindow.clientHeight, 144)};
    adjustWindowRectForDpi(expected, windowStyle(), windowExStyle(), 144);
    EXPECT_EQ(size.cx, expected.right - expected.left);
    EXPECT_EQ(size.cy, expected.bottom - expected.top);
}

TEST_F(Win32Window, WritesOneDebugLineAndKeepsTheBoxWhenNothingIsSelected) {
    const std::u16string before = driver_.boxText();
    DebugOutput output;
    // What the list would send for a selection that is not there.
    SendMessageW(main(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list()), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list()));
    driver_.settle();
    EXPECT_TRUE(driver_.boxText() == before);
    const std::vector<std::string> lines = output.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
              catalogue::failureReport(catalogue::SelectionOutcome::NoDescriptionAtPosition) + "\n");
    EXPECT_EQ(visibleWindowsOfThisThread(), 1) << "a failed selection opens no window";
}

TEST_F(Win32Window, WritesOneDebugLineWhenTheBoxCannotBeTaken) {
    driver_.clickEntry(3);
    DebugOutput output;
    DestroyWindow(box());
    driver_.clickEntry(5);
    EXPECT_EQ(driver_.selectedEntry(), 5);
    const std::vector<std::string> lines = output.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], catalogue::failureReport(catalogue::SelectionOutcome::BoxNotTaken) + "\n");
    EXPECT_EQ(visibleWindowsOfThisThread(), 1);
}

int longestEntry() {
    int longest = 0;
    for (int i = 1; i < catalogue::kEntryCount; ++i) {
        if (catalogue::kDescriptions[static_cast<std::size_t>(i)].size() >
            catalogue::kDescriptions[static_cast<std::size_t>(longest)].size()) {
            longest = i;
        }
    }
    return longest;
}

// A quick second click on the selected name is a double click
// (LBN_DBLCLK, no LBN_SELCHANGE); it shows the entry again from the top.
TEST_F(Win32Window, ShowsTheEntryAgainFromTheTopOnADoubleClick) {
    const int row = longestEntry();
    driver_.clickEntry(row);
    // A first click away from the one before, the box scrolled, and the
    // second click at the same point: only the second half of the double
    // click comes after the scrolling.
    const POINT point = rowPoint(row, 4 * GetSystemMetrics(SM_CXDOUBLECLK));
    driver_.clickAt(list(), point);
    driver_.scrollBoxToEnd();
    ASSERT_GT(driver_.boxFirstVisibleLine(), 0);
    driver_.clickAt(list(), point);
    EXPECT_EQ(driver_.selectedEntry(), row);
    EXPECT_TRUE(driver_.boxText() == conformance::descriptionAt(row));
    EXPECT_EQ(driver_.boxFirstVisibleLine(), 0);
}

// A second single click on the selected name (away from the first, so not a
// double click) shows it again from the top as well.
TEST_F(Win32Window, ShowsTheEntryAgainFromTheTopOnASecondSingleClick) {
    const int row = longestEntry();
    const int away = 4 * GetSystemMetrics(SM_CXDOUBLECLK);
    SendMessageW(list(), LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
    driver_.settle();
    driver_.clickAt(list(), rowPoint(row, -away));
    ASSERT_EQ(driver_.selectedEntry(), row);
    driver_.scrollBoxToEnd();
    ASSERT_GT(driver_.boxFirstVisibleLine(), 0);
    driver_.clickAt(list(), rowPoint(row, away));
    EXPECT_EQ(driver_.selectedEntry(), row);
    EXPECT_EQ(driver_.boxFirstVisibleLine(), 0);
}

TEST_F(Win32Window, KeepsTheBoxScrollBarWhenTheTextFits) {
    ASSERT_TRUE(replaceEditText(box(), u"Кратко."));
    driver_.settle();
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(box(), OBJID_VSCROLL, &info));
    EXPECT_EQ(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(box(), GWL_STYLE));
    EXPECT_EQ(style & (WS_HSCROLL | ES_AUTOHSCROLL), 0u) << "the box wraps its lines";
}

TEST_F(Win32Window, ColoursOnlyTheLabelAndLeavesTheBoxAndListTheirStandardColours) {
    const int dpi = driver_.dpi();
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const conformance::Rgb standard{GetRValue(window), GetGValue(window), GetBValue(window)};
    const PixelRect boxRect = definition::pixelRect(definition::kDescriptionBox.rect, dpi);
    // Past the text's end in the box, and at the end of a name's row, just
    // before the scroll bar (as wide as the DPI makes it, under Wine 10 too).
    ASSERT_TRUE(replaceEditText(box(), u"Кратко."));
    EXPECT_EQ(driver_.colourAt(boxRect.left + boxRect.width / 2, boxRect.top + boxRect.height - 8), standard);
    const std::optional<PixelRect> listRect = driver_.controlRect(definition::kNameList);
    ASSERT_TRUE(listRect.has_value());
    const int scrollBar = systemMetricForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi));
    EXPECT_EQ(driver_.colourAt(listRect->left + listRect->width - scrollBar - 12, listRect->top + 6),
              standard);
}

// Where the label and the list overlap, the list is on top: the label's
// bottom rows show the list's edge, not orange.
TEST_F(Win32Window, CoversTheLabelsBottomWithTheList) {
    const int dpi = driver_.dpi();
    const PixelRect label = definition::pixelRect(definition::kTitleLabel.rect, dpi);
    const std::optional<PixelRect> list = driver_.controlRect(definition::kNameList);
    ASSERT_TRUE(list.has_value());
    ASSERT_LT(list->top, label.top + label.height) << "the definition makes them overlap";
    const conformance::Rgb orange{definition::kTitleLabel.background->red(),
                                  definition::kTitleLabel.background->green(),
                                  definition::kTitleLabel.background->blue()};
    for (int y = list->top; y < label.top + label.height; ++y) {
        for (const int x : {list->left + 1, list->left + list->width / 2, list->left + list->width - 2}) {
            EXPECT_NE(driver_.colourAt(x, y), orange) << x << "," << y;
        }
    }
    EXPECT_EQ(driver_.colourAt(list->left + list->width / 2, list->top - 1), orange);
}

TEST_F(Win32Window, CarriesTheProgramsIconInBothSizes) {
    for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        const auto icon =
            reinterpret_cast<HICON>(SendMessageW(main(), WM_GETICON, static_cast<WPARAM>(which), 0));
        ASSERT_NE(icon, nullptr) << "icon " << which;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, systemMetricForDpi(metric, static_cast<UINT>(driver_.dpi())))
            << "icon " << which;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST(EditText, BreaksLinesWithCrLf) {
    EXPECT_TRUE(withCrLf(u"a\nb\r\nc\n") == u"a\r\nb\r\nc\r\n");
    EXPECT_TRUE(withCrLf(u"\n\n") == u"\r\n\r\n");
    EXPECT_TRUE(withCrLf(u"без прекъсване") == u"без прекъсване");
    EXPECT_TRUE(conformance::withLf(u"a\r\nb\r\n\r\nc\rd") == u"a\nb\n\nc\rd");
}

TEST(EditText, ShowsTheIntroductionWithItsParagraphs) {
    const std::u16string introduction = catalogue::decodeCp1251(catalogue::kIntroduction);
    const std::u16string shown = withCrLf(introduction);
    EXPECT_TRUE(shown == introduction) << "the catalogue breaks its lines with CR LF already";
    EXPECT_EQ(std::count(shown.begin(), shown.end(), u'\n'), std::count(shown.begin(), shown.end(), u'\r'));
}

}  // namespace
}  // namespace kalvetor::win32::testing
