#pragma once

// Catalogue text as UTF-8, for whatever shows it outside a window: messages,
// tests and the web page.

#include <string>
#include <string_view>

namespace catalogue {

// Code page 1251 maps into the Basic Multilingual Plane only, so no
// surrogate pairs arise.
inline std::string toUtf8(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace catalogue
