// Prints how the build names each character it has a name for, one
// "U+XXXX NAME" a line, for check_unicode_names.py to hold against Python's
// own Unicode database.

#include <cstdio>

#include "catalogue/embed/unicode_names.h"

int main() {
    for (const embed::NamedCharacter& named : embed::namedCharacters()) {
        std::printf("%s\n", embed::describeCharacter(named.code).c_str());
    }
    for (char32_t c = U'A'; c <= U'Z'; ++c) {
        std::printf("%s\n%s\n", embed::describeCharacter(c).c_str(),
                    embed::describeCharacter(c + 0x20).c_str());
    }
    return 0;
}
