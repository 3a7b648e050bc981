#include "window/web/entry_ids.h"

#include <array>
#include <cstddef>
#include <stdexcept>

#include "catalogue/utf8.h"

namespace web {
namespace {

// а to я in the order of their code points (ы and э, not Bulgarian, as the
// Russian streamlined systems write them).
constexpr std::array<std::string_view, 32> kLatin{
    "a", "b", "v", "g", "d", "e", "zh", "z",  "i",  "y",   "k", "l", "m", "n", "o",  "p",
    "r", "s", "t", "u", "f", "h", "ts", "ch", "sh", "sht", "a", "y", "y", "e", "yu", "ya"};

char16_t lower(char16_t c) {
    if (c >= u'А' && c <= u'Я') {
        return static_cast<char16_t>(c + (u'а' - u'А'));
    }
    if (c >= u'A' && c <= u'Z') {
        return static_cast<char16_t>(c + ('a' - 'A'));
    }
    return c;
}

bool isLetter(char16_t c) {
    return (c >= u'а' && c <= u'я') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

}  // namespace

std::string entryId(std::u16string_view name) {
    std::string id;
    bool hyphenDue = false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = lower(name[i]);
        if (!isLetter(c)) {
            hyphenDue = !id.empty();
            continue;
        }
        if (hyphenDue) {
            id += '-';
            hyphenDue = false;
        }
        const bool wordEnds = i + 1 == name.size() || !isLetter(lower(name[i + 1]));
        if (c == u'я' && wordEnds && i > 0 && lower(name[i - 1]) == u'и') {
            id += "a";  // -ия at the end of a word is -ia
        } else if (c >= u'а' && c <= u'я') {
            id += kLatin[static_cast<std::size_t>(c - u'а')];
        } else {
            id += static_cast<char>(c);
        }
    }
    return id;
}

std::vector<std::string> entryIds(const std::vector<std::u16string>& names,
                                  const std::vector<std::string>& reserved) {
    std::vector<std::string> ids;
    for (const std::u16string& name : names) {
        const std::string id = entryId(name);
        const std::string named = "„" + catalogue::toUtf8(name) + "“";
        if (id.empty()) {
            throw std::runtime_error("the name " + named + " gives no id");
        }
        for (std::size_t other = 0; other < ids.size(); ++other) {
            if (ids[other] == id) {
                throw std::runtime_error("the names „" + catalogue::toUtf8(names[other]) + "“ and " + named +
                                         " both give the id " + id);
            }
        }
        for (const std::string& taken : reserved) {
            if (taken == id) {
                throw std::runtime_error("the name " + named + " gives the id " + id +
                                         ", which the page uses for a part of its own");
            }
        }
        ids.push_back(id);
    }
    return ids;
}

}  // namespace web
