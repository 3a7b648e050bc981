#pragma once

// Unicode names of the characters an editor of the content is likely to type
// by mistake, so that a refusal can say which character it means even where
// the character itself is invisible (a no-break space) or looks like another
// (a Latin "a" among Cyrillic letters).

#include <span>
#include <string>
#include <string_view>

namespace embed {

struct NamedCharacter {
    char32_t code;
    std::string_view name;
};

// Every character this module names, Latin letters aside (those are named
// from their position in the alphabet).
std::span<const NamedCharacter> namedCharacters();

// "U+045D CYRILLIC SMALL LETTER I WITH GRAVE"; "U+XXXX" alone for a
// character without a name here.
std::string describeCharacter(char32_t character);

}  // namespace embed
