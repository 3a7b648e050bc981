#pragma once

// Windows-1251 (code page 1251): decoding for display, and encoding of single
// characters for the build, both from the same table.

#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// The one byte value that code page 1251 leaves without a character.
inline constexpr unsigned char kCp1251Unassigned = 0x98;

// The Unicode character of a byte; U+FFFD for the unassigned byte.
char16_t cp1251ToUnicode(unsigned char byte);

// The UTF-16 form of a Windows-1251 text.
std::u16string decodeCp1251(std::string_view text);

// The byte that stands for a Unicode character; nothing for a character the
// code page lacks, U+FFFD included. The inverse of cp1251ToUnicode.
std::optional<unsigned char> encodeCp1251(char32_t character);

}  // namespace catalogue
