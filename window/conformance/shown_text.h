#pragma once

// What a front end's window should show of the catalogue, as the drivers
// report it (UTF-16, line breaks as "\n"), and UTF-8 for messages.

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "catalogue/tests/utf8.h"

namespace conformance {

inline std::string utf8(std::u16string_view text) {
    return catalogue::testing::toUtf8(text);
}

inline std::u16string nameAt(int i) {
    return catalogue::decodeCp1251(catalogue::kNames[static_cast<std::size_t>(i)]);
}

inline std::u16string descriptionAt(int i) {
    return catalogue::decodeCp1251(catalogue::kDescriptions[static_cast<std::size_t>(i)]);
}

// The box reports line breaks as "\n"; the catalogue stores CR LF.
inline std::u16string introductionAsShown() {
    std::u16string text;
    for (const char16_t c : catalogue::decodeCp1251(catalogue::kIntroduction)) {
        if (c != u'\r') {
            text += c;
        }
    }
    return text;
}

}  // namespace conformance
