#include "window/colours.h"

#include <algorithm>
#include <cmath>

namespace frontend {
namespace {

// An sRGB channel (0 to 255) in linear light.
double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

bool reads(const ColourPair& pair) {
    return contrastRatio(pair.background, pair.text) >= kLeastTextContrast;
}

}  // namespace

double relativeLuminance(definition::Colour colour) {
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) + 0.0722 * linear(colour.blue());
}

double contrastRatio(definition::Colour a, definition::Colour b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

WindowColours windowColours(const SystemColours& system) {
    const definition::Colour text = system.window.text;
    const ColourPair designedWindow{definition::kWindow.background, text};
    const ColourPair designedLabel{
        definition::kTitleLabel.background.value_or(definition::kWindow.background), text};
    if (!system.highContrast && reads(designedWindow) && reads(designedLabel)) {
        return {designedWindow, designedLabel};
    }
    return {system.window, reads(system.button) ? system.button : system.window};
}

}  // namespace frontend
