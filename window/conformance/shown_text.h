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

// The text with every CR LF as LF, the form the drivers report a box's text
// in; a lone CR stays.
inline std::u16string withLf(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' || i + 1 == text.size() || text[i + 1] != u'\n') {
            out += text[i];
        }
    }
    return out;
}

// The catalogue stores the introduction's line breaks as CR LF.
inline std::u16string introductionAsShown() {
    return withLf(catalogue::decodeCp1251(catalogue::kIntroduction));
}

}  // namespace conformance
