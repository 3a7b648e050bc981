#pragma once

// The ids that name the entries in the page's address (kalvetor.html#<id>):
// each name in Latin letters by Bulgaria's official transliteration (the
// streamlined system of the 2009 Transliteration Act), lower case, its words
// joined by hyphens.

#include <string>
#include <string_view>
#include <vector>

namespace web {

std::string entryId(std::u16string_view name);

// The id of every name, in order. Two names with the same id, or an id the
// page already uses for one of its own parts, are refused with a message
// that names them (std::runtime_error).
std::vector<std::string> entryIds(const std::vector<std::u16string>& names,
                                  const std::vector<std::string>& reserved);

}  // namespace web
