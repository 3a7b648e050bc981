// The shape of the catalogue's content: order, lengths, how each description
// opens, the introduction's fixed paragraphs and its list of names.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "catalogue/tests/utf8.h"

namespace catalogue {
namespace {

using testing::utf8;

std::string_view withoutTrailingSpaces(std::string_view name) {
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

// The entries whose description opens with another form of the name.
const std::map<std::string, std::string> kOtherOpenings = {
    {"Георги Раковски", "Георги Сава Раковски"},                           // fuller form
    {"Д-р Петър Берон", "Петър Берон"},                                    // without the title
    {"Св. Патриарх Евтимий Търновски", "Св. патриарх Евтимий Търновски"},  // capitalisation
};

std::string openingOf(int i) {
    const std::string name = utf8(withoutTrailingSpaces(kNames[static_cast<std::size_t>(i)]));
    const auto other = kOtherOpenings.find(name);
    return other == kOtherOpenings.end() ? name : other->second;
}

std::vector<std::string> paragraphs() {
    std::vector<std::string> result;
    std::string_view rest = kIntroduction;
    for (std::size_t end; (end = rest.find("\r\n")) != std::string_view::npos;) {
        result.push_back(utf8(rest.substr(0, end)));
        rest.remove_prefix(end + 2);
    }
    EXPECT_TRUE(rest.empty()) << "the introduction must end with CR LF";
    return result;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

TEST(CatalogueNames, AreStoredInAscendingOrderOfTheirBytes) {
    for (std::size_t i = 1; i < kNames.size(); ++i) {
        const auto byteLess = [](char a, char b) {
            return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
        };
        EXPECT_TRUE(std::lexicographical_compare(kNames[i - 1].begin(), kNames[i - 1].end(),
                                                 kNames[i].begin(), kNames[i].end(), byteLess))
            << utf8(kNames[i - 1]) << " must come before " << utf8(kNames[i]);
    }
    EXPECT_EQ(utf8(kNames.front()), "Алеко Константинов");
    EXPECT_EQ(utf8(kNames.back()), "Черноризец Храбър");
}

TEST(CatalogueNames, HaveTheirLengthsTitlesAndOneTrailingSpace) {
    int trailingSpaces = 0;
    for (const std::string_view name : kNames) {
        EXPECT_GE(name.size(), 11u) << utf8(name);
        EXPECT_LE(name.size(), 30u) << utf8(name);
        EXPECT_NE(name.front(), ' ') << utf8(name);
        EXPECT_EQ(name.find("  "), std::string_view::npos) << utf8(name);
        trailingSpaces += name.back() == ' ';
    }
    EXPECT_EQ(trailingSpaces, 1);
    EXPECT_EQ(utf8(kNames[7]), "Иван Вазов ");

    const auto longest = std::max_element(kNames.begin(), kNames.end(),
                                          [](auto a, auto b) { return a.size() < b.size(); });
    EXPECT_EQ(utf8(*longest), "Св. Патриарх Евтимий Търновски");
    EXPECT_EQ(longest->size(), 30u);

    for (const std::string title : {"Св. ", "Д-р ", "Цар "}) {
        EXPECT_TRUE(std::any_of(kNames.begin(), kNames.end(),
                                [&](auto name) { return startsWith(utf8(name), title); }))
            << "no name begins with " << title;
    }
}

TEST(CatalogueNames, UseOnlyCyrillicLettersSpacesFullStopsAndHyphens) {
    for (const std::string_view name : kNames) {
        for (const char16_t c : decodeCp1251(name)) {
            const bool cyrillic = c >= u'А' && c <= u'я';
            EXPECT_TRUE(cyrillic || c == u' ' || c == u'.' || c == u'-')
                << utf8(name) << " holds U+" << std::hex << static_cast<int>(c);
        }
    }
}

TEST(CatalogueDescriptions, AreSingleParagraphsOfBoundedLength) {
    for (const std::string_view description : kDescriptions) {
        EXPECT_GE(description.size(), 148u) << utf8(description);
        EXPECT_LE(description.size(), 485u) << utf8(description);
        EXPECT_EQ(description.find_first_of("\r\n"), std::string_view::npos) << utf8(description);
        EXPECT_EQ(description.find("  "), std::string_view::npos) << utf8(description);
    }
}

TEST(CatalogueDescriptions, OpenWithTheirEntrysName) {
    int otherOpenings = 0;
    for (int i = 0; i < kEntryCount; ++i) {
        const std::string name = utf8(withoutTrailingSpaces(kNames[static_cast<std::size_t>(i)]));
        const std::string description = utf8(kDescriptions[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(startsWith(description, openingOf(i))) << description;
        if (!startsWith(description, name)) {
            ++otherOpenings;
        }
    }
    EXPECT_EQ(otherOpenings, static_cast<int>(kOtherOpenings.size()));
}

// After the name: the life dates or centuries in parentheses, or, for the one
// group of saints, a colon and the group's members.
TEST(CatalogueDescriptions, FollowTheNameWithDatesOrTheGroupsMembers) {
    const std::regex years(R"(^ \((ок\.)?(\d{3,4})-(ок\.)?(\d{3,4})\)( - |\. ))");
    const std::regex centuries(R"(^ \((\d{1,2})\.-(\d{1,2})\. век\) - )");
    const std::regex members(R"(^: ([^ ,.]+, )+[^ ,.]+ и [^ ,.]+\. )");
    int dated = 0;
    int groups = 0;
    for (int i = 0; i < kEntryCount; ++i) {
        const std::string description = utf8(kDescriptions[static_cast<std::size_t>(i)]);
        const std::string rest = description.substr(openingOf(i).size());
        std::smatch match;
        if (std::regex_search(rest, match, years)) {
            ++dated;
            const int born = std::stoi(match[2]);
            const int died = std::stoi(match[4]);
            EXPECT_GE(died - born, 20) << description;
            EXPECT_LE(died - born, 100) << description;
        } else if (std::regex_search(rest, match, centuries)) {
            ++dated;
            EXPECT_LE(std::stoi(match[1]), std::stoi(match[2])) << description;
        } else if (std::regex_search(rest, members)) {
            ++groups;
            EXPECT_TRUE(startsWith(description, "Св. ")) << description;
        } else {
            ADD_FAILURE() << "neither dates nor a group after the name: " << description;
        }
    }
    EXPECT_EQ(dated, 23);
    EXPECT_EQ(groups, 1);
}

TEST(CatalogueDescriptions, PairEveryOpeningQuotationMarkWithAClosingOne) {
    for (const std::string_view description : kDescriptions) {
        bool open = false;
        for (const char16_t c : decodeCp1251(description)) {
            if (c == u'„') {
                EXPECT_FALSE(open) << utf8(description);
                open = true;
            } else if (c == u'“') {
                EXPECT_TRUE(open) << utf8(description);
                open = false;
            }
        }
        EXPECT_FALSE(open) << "unclosed quotation: " << utf8(description);
    }
}

TEST(CatalogueDescriptions, UseOnlyTheCatalogueCharacterSet) {
    const std::u16string punctuation = u" ()-.,:;?/\"„“”–…";
    std::u16string all;
    for (const std::string_view description : kDescriptions) {
        for (const char16_t c : decodeCp1251(description)) {
            const bool cyrillic = c >= u'А' && c <= u'я';
            const bool digit = c >= u'0' && c <= u'9';
            EXPECT_TRUE(cyrillic || digit || c == u'I' || punctuation.find(c) != std::u16string::npos)
                << utf8(description) << " holds U+" << std::hex << static_cast<int>(c);
        }
        all += decodeCp1251(description);
    }
    // Bulgarian typography: quotation marks, dashes and the ellipsis.
    for (const char16_t typographic : {u'„', u'“', u'–', u'…'}) {
        EXPECT_NE(all.find(typographic), std::u16string::npos) << std::hex << static_cast<int>(typographic);
    }
}

TEST(CatalogueTexts, HoldNoUnassignedByteNorStrayControlCharacter) {
    std::vector<std::string_view> texts(kNames.begin(), kNames.end());
    texts.insert(texts.end(), kDescriptions.begin(), kDescriptions.end());
    texts.push_back(kTitle);
    texts.push_back(kIntroduction);
    for (const std::string_view text : texts) {
        EXPECT_EQ(text.find(static_cast<char>(kCp1251Unassigned)), std::string_view::npos) << utf8(text);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            const bool lineBreak = text.substr(i, 2) == "\r\n" || (i > 0 && text.substr(i - 1, 2) == "\r\n");
            EXPECT_TRUE(byte >= 0x20 || (text == kIntroduction && lineBreak))
                << "control byte " << int{byte} << " in " << utf8(text);
        }
    }
}

TEST(CatalogueIntroduction, HasSevenParagraphsWithTheAssignmentWordForWord) {
    const std::vector<std::string> p = paragraphs();
    ASSERT_EQ(p.size(), 7u);
    EXPECT_TRUE(p[0].ends_with(" XVIII - XIX век.")) << p[0];
    EXPECT_EQ(p[3], "Да се реализира проект, представящ междупредметни връзки История и Информатика.");
    EXPECT_TRUE(startsWith(p[4], "Тема на проекта: ")) << p[4];
    EXPECT_TRUE(p[4].ends_with(".")) << p[4];
    // The assignment's wording keeps its Latin t in "дейностtа".
    EXPECT_EQ(p[5],
              "Да се състави списък с имена на български будители и кратко описание на живота и дейностtа им.");
}

TEST(CatalogueIntroduction, LastParagraphListsTheNamesInListOrder) {
    std::string expected = "В реализирания проект са представени следните народни будители: ";
    for (int i = 0; i < kEntryCount; ++i) {
        if (i > 0) {
            expected += i + 1 == kEntryCount ? " и " : ", ";
        }
        expected += utf8(withoutTrailingSpaces(kNames[static_cast<std::size_t>(i)]));
    }
    expected += ".";
    EXPECT_EQ(paragraphs().back(), expected);
}

TEST(CatalogueTitle, IsTheProgramsName) {
    EXPECT_EQ(utf8(kTitle), "Калветор");
}

}  // namespace
}  // namespace catalogue
