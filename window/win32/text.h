#pragma once

// Text between the catalogue's UTF-16 strings and the W functions of the
// Windows API. wchar_t is a 16-bit UTF-16 unit on Windows, so the conversions
// copy units one for one.

#include <string>
#include <string_view>

namespace kalvetor::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t holds UTF-16 units");

std::wstring toWide(std::u16string_view text);
std::u16string fromWide(std::wstring_view text);

// UTF-8 (ASCII included) as UTF-16, for font names and log lines.
std::wstring widenUtf8(std::string_view text);

// The text with every line break as CR LF, the only one a multi-line edit
// control shows as a break: a lone LF becomes CR LF, CR LF stays.
std::u16string withCrLf(std::u16string_view text);

}  // namespace kalvetor::win32
