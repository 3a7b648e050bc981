#pragma once

// Reading a content file: UTF-8 text, one item a line, each line ended by a
// line feed, every character one that Windows-1251 has.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/embed/problems.h"
#include "catalogue/utf8.h"

namespace embed {

struct SourceLine {
    int number;  // from 1
    std::u32string text;
};

struct SourceFile {
    std::string path;
    std::vector<SourceLine> lines;
};

// Reads path, adding a problem for each thing the build could not show
// faithfully: a byte order mark, bytes that are not UTF-8, a character
// without a Windows-1251 form, a control character (a carriage return
// included), an empty line, a last line without its line feed. eachLine says
// what a line holds, for the message about an empty one. In a file of
// name|text lines, textAfterName names the text ("the description"), and a
// problem in it names the line's name too. Nothing if the file cannot be
// read.
std::optional<SourceFile> readSource(const std::string& path, std::string_view eachLine, Problems& problems,
                                     std::string_view textAfterName = {});

using catalogue::toUtf8;

// The Windows-1251 bytes of a text that readSource accepted.
std::string toCp1251(std::u32string_view text);

}  // namespace embed
