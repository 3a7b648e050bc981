#pragma once

// The catalogue: the 24 awakeners, the introduction and the title, as the
// Windows-1251 bytes that are compiled into the program.
//
// Names and descriptions are two parallel lists: entry i is kNames[i]
// together with kDescriptions[i], and nothing but the shared position ties
// them together. The stored order is the display order (ascending by byte
// value); nothing sorts it at run time.

#include <array>
#include <string_view>

namespace catalogue {

inline constexpr int kEntryCount = 24;

extern const std::array<std::string_view, kEntryCount> kNames;
extern const std::array<std::string_view, kEntryCount> kDescriptions;

// Seven paragraphs, each ended by CR LF; the last lists the names in order.
extern const std::string_view kIntroduction;

extern const std::string_view kTitle;

}  // namespace catalogue
