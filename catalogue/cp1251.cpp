#include "catalogue/cp1251.h"

#include <array>

namespace catalogue {
namespace {

// Bytes 0x80 to 0xFF; below 0x80 the code page is ASCII.
constexpr std::array<char16_t, 128> kUpperHalf = {
    // 0x80
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021', u'\u20AC',
    u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    // 0x90
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014', u'\uFFFD',
    u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    // 0xA0
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7', u'\u0401',
    u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    // 0xB0
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7', u'\u0451',
    u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
    // 0xC0 to 0xFF: А to я in order, filled in below
};

constexpr std::array<char16_t, 128> withCyrillicAlphabet(std::array<char16_t, 128> table) {
    for (int i = 0; i < 64; ++i) {
        table[static_cast<std::size_t>(0x40 + i)] = static_cast<char16_t>(u'\u0410' + i);
    }
    return table;
}

constexpr std::array<char16_t, 128> kTable = withCyrillicAlphabet(kUpperHalf);

}  // namespace

char16_t cp1251ToUnicode(unsigned char byte) {
    return byte < 0x80 ? char16_t{byte} : kTable[byte - 0x80u];
}

std::u16string decodeCp1251(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (const char c : text) {
        result.push_back(cp1251ToUnicode(static_cast<unsigned char>(c)));
    }
    return result;
}

std::optional<unsigned char> encodeCp1251(char32_t character) {
    if (character < 0x80) {
        return static_cast<unsigned char>(character);
    }
    // The decoder's own table read backwards, so the two cannot disagree. The
    // unassigned byte's U+FFFD is a stand-in, not a character of the page.
    if (character == U'\uFFFD') {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        if (kTable[i] == character) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

}  // namespace catalogue
