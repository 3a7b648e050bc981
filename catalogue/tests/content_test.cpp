// What the build's checks of the content cannot say: that the compiled
// catalogue is the UTF-8 content, character for character, that each
// description sits at its own name's position, and that the introduction
// lists the names as the list shows them. The rules of the content itself are
// the build's (catalogue/embed/content_rules.h, tested by content_cases.py).

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/tests/utf8.h"

namespace catalogue {
namespace {

using testing::utf8;

// The lines of a content file, UTF-8 as stored.
std::vector<std::string> sourceLines(const std::string& file) {
    std::ifstream in(std::string(KALVETOR_CONTENT_DIR) + "/" + file, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << file;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

std::string_view withoutTrailingSpace(std::string_view name) {
    return name.ends_with(' ') ? name.substr(0, name.size() - 1) : name;
}

// The introduction's paragraphs, in UTF-8, with what follows the last CR LF.
std::vector<std::string> paragraphs(std::string& rest) {
    std::vector<std::string> result;
    std::string_view text = kIntroduction;
    for (std::size_t end; (end = text.find("\r\n")) != std::string_view::npos;) {
        result.push_back(utf8(text.substr(0, end)));
        text.remove_prefix(end + 2);
    }
    rest = utf8(text);
    return result;
}

TEST(CompiledCatalogue, HoldsTheEntriesOfTheSourceInTheirOrder) {
    const std::vector<std::string> lines = sourceLines("entries.txt");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kEntryCount));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t bar = lines[i].find('|');
        ASSERT_NE(bar, std::string::npos) << lines[i];
        EXPECT_EQ(utf8(kNames[i]), lines[i].substr(0, bar)) << "entry " << i;
        EXPECT_EQ(utf8(kDescriptions[i]), lines[i].substr(bar + 1)) << "entry " << i;
    }
}

TEST(CompiledCatalogue, HoldsTheTitleAndTheIntroductionOfTheSource) {
    const std::vector<std::string> title = sourceLines("title.txt");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(utf8(kTitle), title.front());

    const std::vector<std::string> source = sourceLines("introduction.txt");
    std::string rest;
    const std::vector<std::string> shown = paragraphs(rest);
    EXPECT_EQ(rest, "") << "the introduction must end with CR LF";
    ASSERT_EQ(shown.size(), source.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        // {names} aside, each paragraph is its source line.
        const std::size_t at = source[i].find("{names}");
        if (at == std::string::npos) {
            EXPECT_EQ(shown[i], source[i]);
        } else {
            const std::string after = source[i].substr(at + 7);
            EXPECT_TRUE(shown[i].starts_with(source[i].substr(0, at))) << shown[i];
            EXPECT_TRUE(shown[i].ends_with(after)) << shown[i];
            EXPECT_GT(shown[i].size(), source[i].size()) << shown[i];
        }
        EXPECT_EQ(shown[i].find_first_of("\r\n"), std::string::npos) << shown[i];
    }
}

TEST(CompiledCatalogue, IntroductionListsTheNamesAsTheListShowsThem) {
    std::string names;
    for (int i = 0; i < kEntryCount; ++i) {
        if (i > 0) {
            names += i + 1 == kEntryCount ? " и " : ", ";
        }
        names += utf8(withoutTrailingSpace(kNames[static_cast<std::size_t>(i)]));
    }
    std::string rest;
    const std::vector<std::string> shown = paragraphs(rest);
    ASSERT_FALSE(shown.empty());
    std::size_t mentions = 0;
    for (const std::string& paragraph : shown) {
        EXPECT_EQ(paragraph.find("{names}"), std::string::npos) << paragraph;
        for (std::size_t at = paragraph.find(names); at != std::string::npos;
             at = paragraph.find(names, at + 1)) {
            ++mentions;
            EXPECT_EQ(&paragraph, &shown.back()) << "the names are listed outside the last paragraph";
        }
    }
    EXPECT_EQ(mentions, 1u) << "the last paragraph must list the names once, in list order: " << names;
}

// The words that tell a name from the others: its last two, leaving out
// abbreviations ("Св.").
std::vector<std::string> keyWords(std::string_view name) {
    std::vector<std::string> words;
    const std::string shown = utf8(withoutTrailingSpace(name));
    for (std::size_t start = 0; start <= shown.size();) {
        const std::size_t end = std::min(shown.find(' ', start), shown.size());
        const std::string word = shown.substr(start, end - start);
        if (!word.empty() && !word.ends_with('.')) {
            words.push_back(word);
        }
        start = end + 1;
    }
    if (words.size() > 2) {
        words.erase(words.begin(), words.end() - 2);
    }
    return words;
}

bool holdsAll(const std::string& text, const std::vector<std::string>& words) {
    return std::all_of(words.begin(), words.end(),
                       [&](const std::string& word) { return text.find(word) != std::string::npos; });
}

// The lists are paired by position alone: each description must be about the
// person, or the group, whose name stands at its position. Its opening (up to
// the dates or the colon) holds the name's key words, whatever form of the
// name it uses, and not all the key words of any other name.
TEST(CompiledCatalogue, PairsEachDescriptionWithItsOwnName) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        const std::string description = utf8(kDescriptions[i]);
        const std::string opening = description.substr(0, description.find_first_of("(:"));
        ASSERT_FALSE(keyWords(kNames[i]).empty()) << utf8(kNames[i]);
        EXPECT_TRUE(holdsAll(opening, keyWords(kNames[i])))
            << utf8(kNames[i]) << " is paired with: " << description;
        for (std::size_t j = 0; j < kNames.size(); ++j) {
            EXPECT_TRUE(j == i || !holdsAll(opening, keyWords(kNames[j])))
                << utf8(kNames[i]) << "'s description opens with " << utf8(kNames[j]) << "'s name";
        }
    }
}

}  // namespace
}  // namespace catalogue
