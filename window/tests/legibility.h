#pragma once

// How well a text reads in the pixels a window drew, for the front ends'
// tests: the background is the colour most of the area has, the ink the
// pixel that stands out most from it.

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "window/colours.h"
#include "window/definition.h"

namespace frontend {

struct Legibility {
    definition::Colour background{};
    double contrast = 1.0;  // the ink's contrast ratio with the background
};

inline Legibility legibility(const std::vector<definition::Colour>& pixels) {
    std::map<std::uint32_t, int> counts;
    for (const definition::Colour pixel : pixels) {
        ++counts[pixel.value];
    }
    Legibility result;
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (most == counts.end()) {
        return result;
    }
    result.background = definition::Colour{most->first};
    for (const auto& [value, count] : counts) {
        result.contrast = std::max(result.contrast, frontend::contrastRatio(result.background, {value}));
    }
    return result;
}

}  // namespace frontend
