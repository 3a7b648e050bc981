#pragma once

// The catalogue's content as the build reads it from catalogue/content/, and
// the rules it must keep:
//
//   title.txt           the title, one line: the program's name
//   introduction.txt    seven paragraphs, one a line; "{names}" in the last
//                       stands for the entries' names in list order
//   entries.txt         the 24 entries, one a line: name|description, in
//                       alphabetical (Windows-1251 byte) order of the names
//   other-openings.txt  name|opening for each entry whose description opens
//                       with another form of the name than the name itself
//
// Each broken rule becomes a problem that names the file, the line and, where
// it helps, the column, in words for whoever edits a biography.

#include <optional>
#include <string>
#include <vector>

#include "catalogue/embed/problems.h"

namespace embed {

struct Entry {
    std::u32string name;  // as listed, a trailing space included
    std::u32string description;
};

struct Content {
    std::u32string title;
    std::vector<std::u32string> paragraphs;  // "{names}" not yet filled in
    std::vector<Entry> entries;
};

// The checked content of dir, or nothing, with the problems added, if any
// rule is broken.
std::optional<Content> readContent(const std::string& dir, Problems& problems);

// The introduction as the program shows it: the paragraphs with the names
// filled in, each ended by CR LF.
std::u32string composeIntroduction(const Content& content);

}  // namespace embed
