// Build tool: turns the catalogue's content files (Windows-1251 text) into a
// C++ source that holds the same bytes, so the program never reads a file.
//
//   embed_content <content-dir> <output.cpp>
//
// content-dir holds:
//   title.txt         the title, one line
//   introduction.txt  one paragraph a line; "{names}" in the last one stands
//                     for the entries' names in order, joined as prose
//   entries.txt       one entry a line: name|description
//
// The tool refuses content it cannot show faithfully: the byte 0x98 (no
// character in code page 1251), carriage returns and other control bytes.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kNamesPlaceholder = "{names}";
constexpr std::string_view kLineBreak = "\r\n";

struct ContentError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Line {
    std::string where;  // file:line, for error messages
    std::string text;
};

std::vector<Line> readLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ContentError(path + ": cannot open");
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!bytes.empty() && bytes.back() != '\n') {
        throw ContentError(path + ": the last line has no line feed");
    }
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        Line line{path + ":" + std::to_string(lines.size() + 1), bytes.substr(start, end - start)};
        for (const char c : line.text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte == 0x98) {
                throw ContentError(line.where + ": byte 0x98 has no character in Windows-1251");
            }
            if (byte < 0x20 || byte == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02X", byte);
                throw ContentError(line.where + ": control byte " + hex + " (line breaks are added by the build)");
            }
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

struct Entry {
    std::string name;
    std::string description;
};

std::vector<Entry> parseEntries(const std::vector<Line>& lines) {
    std::vector<Entry> entries;
    for (const Line& line : lines) {
        const std::size_t bar = line.text.find('|');
        if (bar == std::string::npos || line.text.find('|', bar + 1) != std::string::npos) {
            throw ContentError(line.where + ": expected exactly one '|' between name and description");
        }
        Entry entry{line.text.substr(0, bar), line.text.substr(bar + 1)};
        if (entry.name.empty() || entry.description.empty()) {
            throw ContentError(line.where + ": empty name or description");
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string withoutTrailingSpaces(std::string name) {
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

// "A, B, C и D": the names as a sentence lists them.
std::string namesAsProse(const std::vector<Entry>& entries) {
    std::string prose;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            prose += (i + 1 == entries.size()) ? " \xE8 " : ", ";  // 0xE8 is "и"
        }
        prose += withoutTrailingSpaces(entries[i].name);
    }
    return prose;
}

std::string composeIntroduction(const std::vector<Line>& paragraphs, const std::vector<Entry>& entries) {
    if (paragraphs.empty()) {
        throw ContentError("introduction.txt: no paragraphs");
    }
    std::string text;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        std::string paragraph = paragraphs[i].text;
        const std::size_t at = paragraph.find(kNamesPlaceholder);
        const bool last = i + 1 == paragraphs.size();
        if (last != (at != std::string::npos)) {
            throw ContentError(paragraphs[i].where + ": " + std::string(kNamesPlaceholder) +
                               " belongs in the last paragraph, once");
        }
        if (last) {
            paragraph.replace(at, kNamesPlaceholder.size(), namesAsProse(entries));
            if (paragraph.find(kNamesPlaceholder) != std::string::npos) {
                throw ContentError(paragraphs[i].where + ": more than one " + std::string(kNamesPlaceholder));
            }
        }
        text += paragraph;
        text += kLineBreak;
    }
    return text;
}

// A C++ string literal holding exactly these bytes.
std::string literal(std::string_view bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\' && c != '?') {
            out += c;
        } else {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", byte);
            out += octal;
        }
    }
    return out + "\"sv";
}

std::string generate(const std::string& title, const std::string& introduction, const std::vector<Entry>& entries) {
    std::ostringstream out;
    out << "// Generated by embed_content from catalogue/content; edit those files, not this one.\n"
        << "#include \"catalogue/catalogue.h\"\n\n"
        << "namespace catalogue {\n"
        << "using namespace std::string_view_literals;\n\n"
        << "static_assert(kEntryCount == " << entries.size()
        << ", \"entries.txt must hold exactly kEntryCount entries\");\n\n"
        << "const std::array<std::string_view, kEntryCount> kNames = {\n";
    for (const Entry& entry : entries) {
        out << "    " << literal(entry.name) << ",\n";
    }
    out << "};\n\nconst std::array<std::string_view, kEntryCount> kDescriptions = {\n";
    for (const Entry& entry : entries) {
        out << "    " << literal(entry.description) << ",\n";
    }
    out << "};\n\n"
        << "const std::string_view kIntroduction = " << literal(introduction) << ";\n\n"
        << "const std::string_view kTitle = " << literal(title) << ";\n\n"
        << "}  // namespace catalogue\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: embed_content <content-dir> <output.cpp>\n");
        return 2;
    }
    const std::string dir = argv[1];
    try {
        const std::vector<Line> titleLines = readLines(dir + "/title.txt");
        if (titleLines.size() != 1 || titleLines[0].text.empty()) {
            throw ContentError(dir + "/title.txt: expected one non-empty line");
        }
        const std::vector<Entry> entries = parseEntries(readLines(dir + "/entries.txt"));
        const std::string introduction = composeIntroduction(readLines(dir + "/introduction.txt"), entries);

        std::ofstream out(argv[2], std::ios::binary);
        out << generate(titleLines[0].text, introduction, entries);
        if (!out.flush()) {
            std::remove(argv[2]);
            throw ContentError(std::string(argv[2]) + ": cannot write");
        }
    } catch (const ContentError& error) {
        std::fprintf(stderr, "embed_content: %s\n", error.what());
        return 1;
    }
    return 0;
}
