// The window under Windows' high contrast, turned on and off while it is
// open: with a dark scheme the window and the label take the system's
// colours and the title, the names and the description each keep WCAG 2's
// least contrast against what they are drawn on, read from the window's
// pixels; with high contrast off the designed colours come back.
//
// Wine (8 and 10) refuses SPI_SETHIGHCONTRAST and always reports high
// contrast off, and changes no system colour by itself: under Wine only the
// scheme's colours (SetSysColors) change, which the window follows as it
// must any scheme whose text would not read on its colours. The colours
// last as long as the session (under Wine, the wineserver the other tests
// share), so the test puts back what it changed whatever happens.

#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "window/colours.h"
#include "window/definition.h"
#include "window/tests/legibility.h"
#include "window/win32/tests/win32_driver.h"

namespace kalvetor::win32::testing {
namespace {

using conformance::PixelRect;
using definition::Colour;

Colour toColour(COLORREF colour) {
    return Colour::fromRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

Colour toColour(const conformance::Rgb& rgb) {
    return Colour::fromRgb(rgb.red, rgb.green, rgb.blue);
}

// High contrast on with a scheme's colours, for as long as it lives, in this
// session only: nothing goes to the user's profile, the theme stays (on
// Windows SPI_SETHIGHCONTRAST would otherwise switch it), and what was
// there before comes back.
class HighContrastScheme {
public:
    explicit HighContrastScheme(std::vector<std::pair<int, COLORREF>> scheme) {
        before_.cbSize = sizeof before_;
        if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof before_, &before_, 0)) {
            HIGHCONTRASTW on = before_;
            on.dwFlags |= HCF_HIGHCONTRASTON | HCF_OPTION_NOTHEMECHANGE;
            switched_ = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof on, &on, SPIF_SENDCHANGE) != 0;
        }
        for (const auto& [index, colour] : scheme) {
            indices_.push_back(index);
            previous_.push_back(GetSysColor(index));
            colours_.push_back(colour);
        }
        SetSysColors(static_cast<int>(indices_.size()), indices_.data(), colours_.data());
    }
    ~HighContrastScheme() {
        SetSysColors(static_cast<int>(indices_.size()), indices_.data(), previous_.data());
        if (switched_) {
            before_.dwFlags |= HCF_OPTION_NOTHEMECHANGE;
            SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof before_, &before_, SPIF_SENDCHANGE);
        }
    }
    HighContrastScheme(const HighContrastScheme&) = delete;
    HighContrastScheme& operator=(const HighContrastScheme&) = delete;

private:
    HIGHCONTRASTW before_{};
    bool switched_ = false;
    std::vector<int> indices_;
    std::vector<COLORREF> previous_;
    std::vector<COLORREF> colours_;
};

class HighContrast : public ::testing::Test {
protected:
    void SetUp() override { driver_.start(); }

    Colour corner() { return toColour(driver_.colourAt(2, 2)); }

    frontend::Legibility legibilityIn(const PixelRect& area) {
        std::vector<Colour> pixels;
        for (const conformance::Rgb& pixel : driver_.coloursIn(area)) {
            pixels.push_back(toColour(pixel));
        }
        return frontend::legibility(pixels);
    }

    // Where a control draws its text, in the window's client area.
    PixelRect inside(const definition::Control& control) {
        const HWND handle = driver_.control(control);
        RECT client{};
        GetClientRect(handle, &client);
        MapWindowPoints(handle, driver_.window().handle(), reinterpret_cast<POINT*>(&client), 2);
        return {client.left, client.top, client.right - client.left, client.bottom - client.top};
    }

    // The title, above the list that covers the label's bottom row.
    PixelRect title() {
        const PixelRect label = inside(definition::kTitleLabel);
        const PixelRect list = *driver_.controlRect(definition::kNameList);
        return {label.left, label.top, label.width, list.top - label.top};
    }

    void expectEveryTextReadable() {
        for (const auto& [what, area] :
             {std::pair{"title", title()}, std::pair{"names", inside(definition::kNameList)},
              std::pair{"description", inside(definition::kDescriptionBox)}}) {
            EXPECT_GE(legibilityIn(area).contrast, frontend::kLeastTextContrast) << what;
        }
    }

    Win32Driver driver_;
};

TEST_F(HighContrast, TakesTheSystemsColoursWhileOnAndTheDesignedOnesWhenOff) {
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF navy = RGB(0, 0, 128);
    {
        const HighContrastScheme dark({{COLOR_WINDOW, black},
                                       {COLOR_WINDOWTEXT, white},
                                       {COLOR_BTNFACE, navy},
                                       {COLOR_BTNTEXT, white}});
        ASSERT_TRUE(driver_.pumpUntil([&] { return corner() == toColour(black); }))
            << "the window kept its colours after the system's changed";
        expectEveryTextReadable();
        // The label set apart from the window in a button's colours.
        EXPECT_EQ(legibilityIn(title()).background, toColour(navy));
    }
    ASSERT_TRUE(driver_.pumpUntil([&] { return corner() == definition::kWindow.background; }))
        << "the designed colours did not come back";
    EXPECT_EQ(legibilityIn(title()).background, *definition::kTitleLabel.background);
    expectEveryTextReadable();
}

}  // namespace
}  // namespace kalvetor::win32::testing
