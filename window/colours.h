#pragma once

// Which colours the window shows, the same rule for every front end. The
// designed colours (the definition's background and the label's) hold while
// the platform's own text reads on them; when the user has turned on high
// contrast, or chosen colours whose text would not read on them (a dark
// palette), the window and its label take the user's own colours, so that
// every text keeps the contrast the user chose. Contrast is measured as
// WCAG 2 measures it.

#include "window/definition.h"

namespace frontend {

// WCAG 2's least contrast ratio for text of normal size (level AA).
inline constexpr double kLeastTextContrast = 4.5;

// A colour's relative luminance as WCAG 2 defines it for sRGB: 0 for black,
// 1 for white.
double relativeLuminance(definition::Colour colour);

// The contrast ratio of two colours, (lighter + 0.05) / (darker + 0.05):
// 1 for equal colours, 21 for black and white.
double contrastRatio(definition::Colour a, definition::Colour b);

// A background and the text drawn on it.
struct ColourPair {
    definition::Colour background;
    definition::Colour text;
    friend constexpr bool operator==(const ColourPair&, const ColourPair&) = default;
};

// The colours the platform gives every window, as the user set them.
struct SystemColours {
    ColourPair window;  // a window's background and text
    ColourPair button;  // a button's face and text
    bool highContrast;  // the platform's high-contrast setting is on
};

// What the window shows on its own background and on the title label's.
struct WindowColours {
    ColourPair window;
    ColourPair label;
    friend constexpr bool operator==(const WindowColours&, const WindowColours&) = default;
};

// The designed colours with the platform's text, or the platform's own
// pairs: the window's for the window, a button's for the label where that
// pair reads, to set it apart (the window's otherwise).
WindowColours windowColours(const SystemColours& system);

}  // namespace frontend
