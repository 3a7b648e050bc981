#include "catalogue/embed/source_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "catalogue/cp1251.h"
#include "catalogue/embed/unicode_names.h"

namespace embed {
namespace {

// A file saved in another encoding fails on nearly every line; a few
// messages say enough.
constexpr int kMaxEncodingProblemsPerFile = 5;

std::string hexBytes(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%s0x%02X", text.empty() ? "" : " ", static_cast<unsigned char>(c));
        text += hex;
    }
    return text;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at the start of bytes and its
// character, or the length of the ill-formed start and nothing. Overlong
// forms, surrogates and values past U+10FFFF are ill-formed.
struct Sequence {
    std::size_t length;
    std::optional<char32_t> character;
};

Sequence decodeOne(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) {
        return {1, char32_t{lead}};
    }
    std::size_t length = 0;
    char32_t value = 0;
    unsigned char low = 0x80;  // the allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, std::nullopt};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size()) {
            return {i, std::nullopt};
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (i == 1 ? (byte < low || byte > high) : !isContinuation(byte)) {
            return {i + (isContinuation(byte) ? 1 : 0), std::nullopt};
        }
        value = (value << 6) | (byte & 0x3Fu);
    }
    return {length, value};
}

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

std::optional<SourceFile> readSource(const std::string& path, std::string_view eachLine, Problems& problems,
                                     std::string_view textAfterName) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problems.add(path, "cannot be read");
        return std::nullopt;
    }
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    SourceFile file{path, {}};
    int encodingProblems = 0;
    // lineSoFar: the line's characters up to the problem, for the name.
    const auto encodingProblem = [&](int line, int column, const std::u32string& lineSoFar,
                                     const std::string& message) {
        if (++encodingProblems > kMaxEncodingProblemsPerFile) {
            return;
        }
        const std::size_t bar = lineSoFar.find(U'|');
        if (textAfterName.empty() || bar == std::u32string::npos) {
            problems.add(path, line, column, message);
        } else {
            problems.add(path, line, column,
                         std::string(textAfterName) + " of „" +
                             toUtf8(std::u32string_view(lineSoFar).substr(0, bar)) + "“: " + message);
        }
    };

    std::size_t start = 0;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        problems.add(path, 1, 1,
                     "the file begins with a byte order mark (BOM); save it as UTF-8 without BOM");
        start = 3;
    }
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool ended = end != std::string::npos;
        if (!ended) {
            end = bytes.size();
        }
        const std::string_view raw = std::string_view(bytes).substr(start, end - start);
        SourceLine line{static_cast<int>(file.lines.size()) + 1, {}};
        for (std::size_t at = 0; at < raw.size();) {
            const int column = static_cast<int>(line.text.size()) + 1;
            const Sequence sequence = decodeOne(raw.substr(at));
            if (!sequence.character) {
                encodingProblem(line.number, column, line.text,
                                "the text is not UTF-8 here (" + hexBytes(raw.substr(at, sequence.length)) +
                                    "); save the file as UTF-8 (was it saved as Windows-1251?)");
                break;  // the rest of the line cannot be read reliably
            }
            at += sequence.length;
            const char32_t c = *sequence.character;
            line.text.push_back(c);
            if (c == U'\r' && at == raw.size() && ended) {
                encodingProblem(line.number, column, line.text,
                                "the line ends in a carriage return (a Windows line break); save the file "
                                "with LF line breaks only");
            } else if (isControl(c)) {
                encodingProblem(line.number, column, line.text,
                                describeCharacter(c) +
                                    " is a control character; only visible text and spaces belong here");
            } else if (!catalogue::encodeCp1251(c)) {
                encodingProblem(line.number, column, line.text,
                                describeCharacter(c) + " has no Windows-1251 form");
            }
        }
        if (line.text.empty() && raw.empty()) {
            problems.add(path, line.number,
                         std::string("an empty line; ") + std::string(eachLine) + ", so remove it");
        }
        if (!ended) {
            problems.add(path, line.number,
                         "the last line has no line break at its end; end the file with one (press Enter "
                         "after the last line)");
        }
        file.lines.push_back(std::move(line));
        start = end + 1;
    }
    if (encodingProblems > kMaxEncodingProblemsPerFile) {
        problems.add(path, std::to_string(encodingProblems - kMaxEncodingProblemsPerFile) +
                               " more problems of the kind above are not shown");
    }
    return file;
}

std::string toCp1251(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        const std::optional<unsigned char> byte = catalogue::encodeCp1251(c);
        if (!byte) {
            throw std::logic_error("toCp1251: " + describeCharacter(c) + " slipped past readSource");
        }
        out += static_cast<char>(*byte);
    }
    return out;
}

}  // namespace embed
