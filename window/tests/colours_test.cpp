// The contrast ratio against WCAG 2's own figures, and the rule that picks
// the window's colours from the platform's.

#include <gtest/gtest.h>

#include "window/colours.h"
#include "window/definition.h"

namespace frontend {
namespace {

using definition::Colour;

constexpr Colour kBlack = Colour::fromRgb(0, 0, 0);
constexpr Colour kWhite = Colour::fromRgb(255, 255, 255);
constexpr Colour kYellow = Colour::fromRgb(255, 255, 0);

TEST(ContrastRatio, MatchesWcagsFigures) {
    EXPECT_DOUBLE_EQ(contrastRatio(kBlack, kWhite), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(kWhite, kBlack), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(kYellow, kYellow), 1.0);
    // #767676 is the lightest grey that passes on white, #777777 the first
    // that fails; pure red on white is 4.00.
    EXPECT_NEAR(contrastRatio(Colour::fromRgb(0x76, 0x76, 0x76), kWhite), 4.54, 0.005);
    EXPECT_LT(contrastRatio(Colour::fromRgb(0x77, 0x77, 0x77), kWhite), kLeastTextContrast);
    EXPECT_NEAR(contrastRatio(Colour::fromRgb(255, 0, 0), kWhite), 4.00, 0.005);
    // Each channel weighs as much as it does for the eye: green most, blue least.
    EXPECT_NEAR(relativeLuminance(Colour::fromRgb(0, 255, 0)), 0.7152, 1e-9);
    EXPECT_NEAR(relativeLuminance(Colour::fromRgb(0, 0, 255)), 0.0722, 1e-9);
}

// White text on the designed colours: what a dark scheme would make of them.
TEST(ContrastRatio, FindsWhiteTextUnreadableOnTheDesignedColours) {
    EXPECT_NEAR(contrastRatio(kWhite, *definition::kTitleLabel.background), 1.60, 0.005);
    EXPECT_LT(contrastRatio(kWhite, definition::kWindow.background), kLeastTextContrast);
}

const ColourPair kDesignedLabel{*definition::kTitleLabel.background, kBlack};

TEST(WindowColours, KeepTheDesignedOnesWithTheStandardTextUnderALightScheme) {
    const SystemColours light{{kWhite, kBlack}, {Colour::fromRgb(240, 240, 240), kBlack}, false};
    const WindowColours shown = windowColours(light);
    EXPECT_EQ(shown.window, (ColourPair{definition::kWindow.background, kBlack}));
    EXPECT_EQ(shown.label, kDesignedLabel);
}

TEST(WindowColours, TakeTheUsersPairsUnderADarkScheme) {
    const ColourPair window{Colour::fromRgb(53, 53, 53), kWhite};
    const ColourPair button{Colour::fromRgb(70, 70, 70), Colour::fromRgb(230, 230, 230)};
    const WindowColours shown = windowColours({window, button, false});
    EXPECT_EQ(shown.window, window);
    EXPECT_EQ(shown.label, button);
}

// High contrast black on white: its text would read on the designed colours,
// but the user has asked for their own.
TEST(WindowColours, TakeTheUsersPairsWheneverHighContrastIsOn) {
    const ColourPair window{kWhite, kBlack};
    const ColourPair button{kYellow, kBlack};
    const WindowColours shown = windowColours({window, button, true});
    EXPECT_EQ(shown.window, window);
    EXPECT_EQ(shown.label, button);
}

TEST(WindowColours, GiveTheLabelTheWindowsPairWhereAButtonsWouldNotRead) {
    const ColourPair window{kBlack, kYellow};
    const ColourPair button{Colour::fromRgb(130, 130, 130), kWhite};  // 3.8:1
    const WindowColours shown = windowColours({window, button, true});
    EXPECT_EQ(shown.label, window);
}

}  // namespace
}  // namespace frontend
