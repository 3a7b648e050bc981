#pragma once

// Text as UTF-8, for whatever shows it outside a window: messages, tests and
// the web page. Catalogue text is UTF-16 (code page 1251 maps into the Basic
// Multilingual Plane only, so no surrogate pairs arise); the content files
// are read as UTF-32.

#include <string>
#include <string_view>

namespace catalogue {

namespace detail {

template <typename Characters>
std::string toUtf8(Characters text) {
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace detail

inline std::string toUtf8(std::u16string_view text) {
    return detail::toUtf8(text);
}

inline std::string toUtf8(std::u32string_view text) {
    return detail::toUtf8(text);
}

}  // namespace catalogue
