#include "catalogue/embed/content_rules.h"

#include <map>
#include <optional>
#include <string_view>
#include <utility>

#include "catalogue/catalogue.h"
#include "catalogue/embed/source_file.h"
#include "catalogue/embed/unicode_names.h"

namespace embed {
namespace {

using Text = std::u32string;
using TextView = std::u32string_view;

constexpr std::size_t kShortestName = 11;
constexpr std::size_t kLongestName = 30;
constexpr std::size_t kShortestDescription = 148;
constexpr std::size_t kLongestDescription = 485;
constexpr int kLongestLife = 120;  // years; a longer span is a typing error
constexpr std::size_t kParagraphs = 7;

constexpr TextView kTitle = U"Калветор";
constexpr TextView kNamesPlaceholder = U"{names}";
constexpr TextView kFirstParagraphEnd = U" XVIII - XIX век.";
constexpr TextView kTopicStart = U"Тема на проекта: ";
// The assignment's own wording, word for word; its "t" in "дейностtа" is a
// Latin letter, as the assignment has it.
constexpr TextView kAssignment =
    U"Да се реализира проект, представящ междупредметни връзки История и Информатика.";
constexpr TextView kTask =
    U"Да се състави списък с имена на български будители и кратко описание на живота и дейностtа им.";

constexpr TextView kDatesExample =
    U"„Васил Левски (1837-1873) - …“; also „(ок.1799-1871)“, „(ок.1325-ок.1402/1405)“, „(1850-1921). …“ "
    U"and „(9.-10. век)“";
constexpr TextView kGroupExample =
    U"„Св. Седмочисленици: Кирил, Методий, Климент, Наум, Горазд, Ангеларий и Сава. …“";
constexpr std::string_view kDescriptionCharacters =
    "Cyrillic letters, digits, spaces, the Roman numeral I and ( ) - . , : ; ? / \" „ “ ” – …";

std::string quoted(TextView text) {
    return "„" + toUtf8(text) + "“";
}

int column(std::size_t index) {
    return static_cast<int>(index) + 1;
}

bool isCyrillicLetter(char32_t c) {
    return c >= U'А' && c <= U'я';
}

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

bool isLatinLetter(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

bool startsWith(TextView text, TextView prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(TextView text, TextView suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::size_t count(TextView text, TextView part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != TextView::npos; at = text.find(part, at + part.size())) {
        ++n;
    }
    return n;
}

TextView withoutTrailingSpace(TextView name) {
    return name.ends_with(U' ') ? name.substr(0, name.size() - 1) : name;
}

// "U+0061 LATIN SMALL LETTER A („a“)" and a hint at the usual cause.
std::string characterForMessage(char32_t c) {
    std::string text = describeCharacter(c);
    if (c > U' ' && c != 0xA0 && c != 0xAD) {
        text += " (" + quoted(Text(1, c)) + ")";
    }
    return text;
}

std::string causeOf(char32_t c) {
    if (isLatinLetter(c)) {
        return " (a Latin letter: was the keyboard on the Latin layout?)";
    }
    if (c >= 0x400 && c <= 0x4FF) {
        return " (not a letter of the Bulgarian alphabet)";
    }
    return "";
}

// The spacing of a piece of text that starts at index offset of its line: no
// space at either end, never two in a row. allowTrailing lets one space end
// it. False if a problem was added.
bool checkSpacing(const std::string& path, int line, std::size_t offset, TextView text, std::string_view what,
                  bool allowTrailing, Problems& problems) {
    bool ok = true;
    if (text.starts_with(U' ')) {
        problems.add(path, line, column(offset), std::string(what) + " begins with a space");
        ok = false;
    }
    const std::size_t twice = text.find(U"  ");
    if (twice != TextView::npos) {
        problems.add(path, line, column(offset + twice), std::string(what) + " has two spaces in a row here");
        ok = false;
    } else if (!allowTrailing && text.size() > 1 && text.ends_with(U' ')) {
        problems.add(path, line, column(offset + text.size() - 1), std::string(what) + " ends with a space");
        ok = false;
    }
    return ok;
}

// Every "|" in a file that has no use for it.
void checkNoBars(const SourceFile& file, Problems& problems) {
    for (const SourceLine& line : file.lines) {
        for (std::size_t at = line.text.find(U'|'); at != Text::npos; at = line.text.find(U'|', at + 1)) {
            problems.add(
                file.path, line.number, column(at),
                "a stray „|“; it separates a name from its text in entries.txt and other-openings.txt only");
        }
    }
}

// A line of the form left|right; nothing, with a problem added, otherwise.
struct Pair {
    TextView left;
    TextView right;
};

std::optional<Pair> splitAtBar(const std::string& path, const SourceLine& line, std::string_view form,
                               std::string_view leftWhat, std::string_view rightWhat, Problems& problems) {
    const TextView text = line.text;
    const std::size_t bar = text.find(U'|');
    if (bar == TextView::npos) {
        problems.add(path, line.number,
                     "no „|“ on this line; each line holds " + std::string(form) +
                         " (did a text break onto a new line?)");
        return std::nullopt;
    }
    const std::size_t second = text.find(U'|', bar + 1);
    if (second != TextView::npos) {
        problems.add(path, line.number, column(second),
                     "a second „|“; a line holds " + std::string(form) + ", with one „|“ between them");
        return std::nullopt;
    }
    if (bar == 0) {
        problems.add(path, line.number, 1, "the " + std::string(leftWhat) + " before „|“ is missing");
        return std::nullopt;
    }
    if (bar + 1 == text.size()) {
        problems.add(path, line.number, column(bar + 1),
                     "the " + std::string(rightWhat) + " after „|“ is missing");
        return std::nullopt;
    }
    return Pair{text.substr(0, bar), text.substr(bar + 1)};
}

// Where two texts first differ, as an index.
std::size_t firstDifference(TextView a, TextView b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) {
        ++i;
    }
    return i;
}

void checkTitle(const SourceFile& file, Content& content, Problems& problems) {
    checkNoBars(file, problems);
    if (file.lines.empty()) {
        problems.add(file.path, "the file is empty; it holds the title, " + quoted(kTitle) + ", on one line");
        return;
    }
    if (file.lines.size() > 1) {
        problems.add(file.path, 2, "the title is one line; remove this line and any after it");
    }
    const SourceLine& line = file.lines.front();
    if (line.text != kTitle) {
        problems.add(file.path, 1, column(firstDifference(line.text, kTitle)),
                     "the title is the program's name, " + quoted(kTitle) + "; here it differs");
    }
    content.title = line.text;
}

void checkIntroduction(const SourceFile& file, Content& content, Problems& problems) {
    checkNoBars(file, problems);
    for (const SourceLine& line : file.lines) {
        checkSpacing(file.path, line.number, 0, line.text, "the paragraph", false, problems);
        content.paragraphs.push_back(line.text);
    }
    const std::string seven =
        "the introduction has exactly " + std::to_string(kParagraphs) + " paragraphs, one a line";
    if (file.lines.size() > kParagraphs) {
        problems.add(file.path, static_cast<int>(kParagraphs) + 1, "one paragraph too many: " + seven);
        return;
    }
    if (file.lines.size() < kParagraphs) {
        const int last = static_cast<int>(file.lines.size());
        problems.add(file.path, last,
                     "the introduction ends after " + std::to_string(last) + " paragraphs; " + seven);
        return;
    }
    const auto paragraph = [&](std::size_t number) -> TextView { return file.lines[number - 1].text; };
    const auto line = [](std::size_t number) { return static_cast<int>(number); };

    if (!endsWith(paragraph(1), kFirstParagraphEnd)) {
        problems.add(
            file.path, line(1),
            "paragraph 1 must end with " + quoted(kFirstParagraphEnd) + ", the centuries of the Revival");
    }
    for (const auto& [number, wording] :
         {std::pair{std::size_t{4}, kAssignment}, std::pair{std::size_t{6}, kTask}}) {
        if (paragraph(number) != wording) {
            std::string message = "paragraph " + std::to_string(number) +
                                  " is the assignment's wording and must read exactly " + quoted(wording);
            if (wording == kTask) {
                message += " (the „t“ in „дейностtа“ is a Latin t, as the assignment has it)";
            }
            problems.add(file.path, line(number), column(firstDifference(paragraph(number), wording)),
                         message + "; it differs here");
        }
    }
    const TextView topic = paragraph(5);
    if (!startsWith(topic, kTopicStart) || topic.size() <= kTopicStart.size() + 1 || !topic.ends_with(U'.')) {
        problems.add(file.path, line(5),
                     "paragraph 5 names the project's topic: it begins with " + quoted(kTopicStart) +
                         " and ends with a full stop");
    }
    for (std::size_t number = 1; number < kParagraphs; ++number) {
        const std::size_t at = paragraph(number).find(kNamesPlaceholder);
        if (at != TextView::npos) {
            problems.add(file.path, line(number), column(at),
                         toUtf8(kNamesPlaceholder) + " belongs in the last paragraph only");
        }
    }
    const TextView last = paragraph(kParagraphs);
    const std::size_t first = last.find(kNamesPlaceholder);
    if (first == TextView::npos) {
        problems.add(file.path, line(kParagraphs),
                     "the last paragraph must hold " + toUtf8(kNamesPlaceholder) +
                         " once: the build puts the list of names there");
    } else if (const std::size_t second = last.find(kNamesPlaceholder, first + 1); second != TextView::npos) {
        problems.add(file.path, line(kParagraphs), column(second),
                     "a second " + toUtf8(kNamesPlaceholder) + "; the list of names appears once");
    }
}

struct OtherOpening {
    Text opening;
    int line;
};

std::map<Text, OtherOpening> readOtherOpenings(const SourceFile& file, Problems& problems) {
    std::map<Text, OtherOpening> openings;
    for (const SourceLine& line : file.lines) {
        const std::optional<Pair> pair =
            splitAtBar(file.path, line, "a name and the other form its description opens with", "name",
                       "opening", problems);
        if (!pair) {
            continue;
        }
        bool ok = checkSpacing(file.path, line.number, 0, pair->left, "the name", false, problems);
        ok = checkSpacing(file.path, line.number, pair->left.size() + 1, pair->right, "the opening", false,
                          problems) &&
             ok;
        if (!ok) {
            continue;
        }
        if (pair->left == pair->right) {
            problems.add(file.path, line.number,
                         "the opening is the name itself; only other forms of a name belong here");
            continue;
        }
        const auto [it, added] =
            openings.try_emplace(Text(pair->left), OtherOpening{Text(pair->right), line.number});
        if (!added) {
            problems.add(
                file.path, line.number,
                quoted(pair->left) + " already has an opening, on line " + std::to_string(it->second.line));
        }
    }
    return openings;
}

// The first character that has no place in a name or a description; false
// if a problem was added.
bool checkCharacters(const std::string& path, int line, std::size_t offset, TextView text,
                     std::string_view what, bool (*allowed)(char32_t), std::string_view allowedInWords,
                     Problems& problems) {
    std::size_t firstBad = TextView::npos;
    int more = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!allowed(text[i])) {
            if (firstBad == TextView::npos) {
                firstBad = i;
            } else {
                ++more;
            }
        }
    }
    if (firstBad == TextView::npos) {
        return true;
    }
    const char32_t c = text[firstBad];
    std::string message = characterForMessage(c) + " has no place in " + std::string(what) + causeOf(c) +
                          "; use " + std::string(allowedInWords);
    if (more > 0) {
        message += " (" + std::to_string(more) +
                   (more == 1 ? " more such character follows)" : " more such characters follow)");
    }
    problems.add(path, line, column(offset + firstBad), message);
    return false;
}

bool allowedInName(char32_t c) {
    return isCyrillicLetter(c) || c == U' ' || c == U'.' || c == U'-';
}

bool allowedInDescription(char32_t c) {
    constexpr TextView kPunctuation = U" ()-.,:;?/\"„“”–…";
    return isCyrillicLetter(c) || isDigit(c) || c == U'I' || kPunctuation.find(c) != TextView::npos;
}

// Reads digits at text[at...]: their value and how many there were.
std::pair<int, std::size_t> readNumber(TextView text, std::size_t at) {
    int value = 0;
    std::size_t n = 0;
    while (at + n < text.size() && isDigit(text[at + n]) && n < 6) {
        value = value * 10 + static_cast<int>(text[at + n] - U'0');
        ++n;
    }
    return {value, n};
}

// What follows the name: " (1837-1873) - ", " (ок.1799-1871) - ",
// " (1850-1921). " or " (9.-10. век) - ".
struct Dates {
    bool centuries;
    int first;
    int second;
    TextView text;  // between the parentheses
};

// "1837-1873" or "ок.1799-ок.1871" at text[at...]; at moves past it. Where
// the sources differ, a year may be two, the earlier first: "ок.1402/1405".
// The span of a life runs from the earliest year to the latest.
std::optional<Dates> readYears(TextView text, std::size_t& at) {
    const auto number = [&](int& value) {
        const auto [read, digits] = readNumber(text, at);
        at += digits;
        value = read;
        return digits >= 3 && digits <= 4;
    };
    // One year, or two where the sources differ; value becomes the earlier
    // of them or, if latest, the later.
    const auto year = [&](int& value, bool latest) {
        if (startsWith(text.substr(at), U"ок.")) {
            at += 3;
        }
        if (!number(value)) {
            return false;
        }
        if (!startsWith(text.substr(at), U"/")) {
            return true;
        }
        ++at;
        int later = 0;
        if (!number(later) || later <= value) {
            return false;
        }
        if (latest) {
            value = later;
        }
        return true;
    };
    Dates dates{false, 0, 0, {}};
    if (!year(dates.first, false) || !startsWith(text.substr(at), U"-")) {
        return std::nullopt;
    }
    ++at;
    if (!year(dates.second, true)) {
        return std::nullopt;
    }
    return dates;
}

// "9.-10. век" at text[at...]; at moves past it.
std::optional<Dates> readCenturies(TextView text, std::size_t& at) {
    const auto [first, firstDigits] = readNumber(text, at);
    at += firstDigits;
    if (firstDigits < 1 || firstDigits > 2 || !startsWith(text.substr(at), U".-")) {
        return std::nullopt;
    }
    at += 2;
    const auto [second, secondDigits] = readNumber(text, at);
    at += secondDigits;
    if (secondDigits < 1 || secondDigits > 2 || !startsWith(text.substr(at), U". век")) {
        return std::nullopt;
    }
    at += 5;
    return Dates{true, first, second, {}};
}

std::optional<Dates> readDates(TextView rest) {
    if (!startsWith(rest, U" (")) {
        return std::nullopt;
    }
    constexpr std::size_t open = 2;
    std::size_t at = open;
    std::optional<Dates> dates = readYears(rest, at);
    if (!dates || !startsWith(rest.substr(at), U")")) {
        at = open;
        dates = readCenturies(rest, at);
    }
    if (!dates || !startsWith(rest.substr(at), U")")) {
        return std::nullopt;
    }
    dates->text = rest.substr(open, at - open);
    ++at;  // ")"
    if (!startsWith(rest.substr(at), U" - ") && !startsWith(rest.substr(at), U". ")) {
        return std::nullopt;
    }
    return dates;
}

// What follows a group's name: ": A, B и C. ", at least three members.
bool readGroupMembers(TextView rest) {
    if (!startsWith(rest, U": ")) {
        return false;
    }
    const std::size_t end = rest.find(U". ", 2);
    if (end == TextView::npos) {
        return false;
    }
    const TextView list = rest.substr(2, end - 2);
    const std::size_t lastJoin = list.rfind(U" и ");
    if (lastJoin == TextView::npos || count(list, U", ") < 1) {
        return false;
    }
    const auto isWord = [](TextView word) {
        if (word.empty()) {
            return false;
        }
        for (const char32_t c : word) {
            if (!isCyrillicLetter(c)) {
                return false;
            }
        }
        return true;
    };
    TextView members = list.substr(0, lastJoin);
    for (std::size_t comma; (comma = members.find(U", ")) != TextView::npos;
         members.remove_prefix(comma + 2)) {
        if (!isWord(members.substr(0, comma))) {
            return false;
        }
    }
    return isWord(members) && isWord(list.substr(lastJoin + 3));
}

// „ opens a quotation, “ or ” closes it; quotations do not nest. whose
// names the text in the messages ("the description of „…“").
void checkQuotations(const std::string& path, int line, std::size_t offset, TextView text,
                     const std::string& whose, Problems& problems) {
    const std::string prefix = whose + ": ";
    std::size_t open = TextView::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'„') {
            if (open != TextView::npos) {
                problems.add(path, line, column(offset + i),
                             prefix + "a new quotation opens here, but the one opened at column " +
                                 std::to_string(column(offset + open)) + " is not closed with “");
                return;
            }
            open = i;
        } else if (text[i] == U'“' || text[i] == U'”') {
            if (open == TextView::npos) {
                problems.add(path, line, column(offset + i),
                             prefix + "this " + toUtf8(Text(1, text[i])) +
                                 " closes a quotation that was never opened (a quotation opens with „)");
                return;
            }
            open = TextView::npos;
        }
    }
    if (open != TextView::npos) {
        problems.add(path, line, column(offset + open), prefix + "this quotation („) is never closed with “");
    }
}

struct EntryLine {
    Entry entry;
    int line;
};

class EntryChecker {
public:
    EntryChecker(const SourceFile& file, const std::map<Text, OtherOpening>& openings,
                 const std::string& openingsPath, Problems& problems)
        : file_(file), openings_(openings), openingsPath_(openingsPath), problems_(problems) {}

    std::vector<Entry> check() {
        for (const SourceLine& line : file_.lines) {
            checkLine(line);
        }
        const auto total = static_cast<std::size_t>(catalogue::kEntryCount);
        const std::string exactly =
            "the catalogue holds exactly " + std::to_string(total) + " entries, one a line";
        if (file_.lines.size() > total) {
            problems_.add(file_.path, static_cast<int>(total) + 1,
                          "entry " + std::to_string(total + 1) + " is one too many: " + exactly);
        } else if (file_.lines.size() < total) {
            problems_.add(file_.path, static_cast<int>(file_.lines.size()),
                          "the entries end after " + std::to_string(file_.lines.size()) + "; " + exactly);
        }
        for (const auto& [name, other] : openings_) {
            if (!seen_.contains(name)) {
                problems_.add(openingsPath_, other.line, quoted(name) + " is not a name in entries.txt");
            }
        }
        std::vector<Entry> entries;
        for (EntryLine& entry : checked_) {
            entries.push_back(std::move(entry.entry));
        }
        return entries;
    }

private:
    void checkLine(const SourceLine& line) {
        const std::optional<Pair> pair =
            splitAtBar(file_.path, line, "one entry: name|description", "name", "description", problems_);
        if (!pair) {
            return;
        }
        const TextView name = pair->left;
        const TextView description = pair->right;
        const std::size_t descriptionAt = name.size() + 1;
        const TextView shown = withoutTrailingSpace(name);

        const std::string theName = "the name " + quoted(name);
        bool nameOk = checkSpacing(file_.path, line.number, 0, name, theName, true, problems_);
        nameOk = checkCharacters(file_.path, line.number, 0, name, theName, allowedInName,
                                 "Cyrillic letters, spaces, full stops and hyphens", problems_) &&
                 nameOk;
        if (name.size() < kShortestName || name.size() > kLongestName) {
            problems_.add(file_.path, line.number,
                          "the name " + quoted(name) + " has " + std::to_string(name.size()) +
                              " characters; a name has " + std::to_string(kShortestName) + " to " +
                              std::to_string(kLongestName));
        }
        if (name.ends_with(U' ')) {
            if (trailingSpace_) {
                problems_.add(file_.path, line.number, column(name.size() - 1),
                              "the name " + quoted(name) + " ends with a space, and only one name may: " +
                                  quoted(trailingSpace_->name) + " on line " +
                                  std::to_string(trailingSpace_->line) + " does");
            } else {
                trailingSpace_ = Named{Text(name), line.number};
            }
        }
        const auto [earlier, isNew] = seen_.try_emplace(Text(shown), line.number);
        if (!isNew) {
            problems_.add(file_.path, line.number,
                          quoted(shown) + " is already the name on line " + std::to_string(earlier->second) +
                              "; each name appears once");
        } else if (nameOk && previous_ && !(toCp1251(previous_->name) < toCp1251(name))) {
            problems_.add(
                file_.path, line.number,
                quoted(shown) + " must come before " + quoted(withoutTrailingSpace(previous_->name)) +
                    " (line " + std::to_string(previous_->line) +
                    "): the names go in alphabetical order, letter by letter, a space, hyphen or full "
                    "stop before any letter");
        }
        if (isNew && nameOk) {
            previous_ = Named{Text(name), line.number};
        }

        checkDescription(line, shown, description, descriptionAt, nameOk);
        checked_.push_back(EntryLine{Entry{Text(name), Text(description)}, line.number});
    }

    void checkDescription(const SourceLine& line, TextView shown, TextView description, std::size_t at,
                          bool nameOk) {
        const std::string of = "the description of " + quoted(shown);
        if (description.size() < kShortestDescription) {
            problems_.add(file_.path, line.number,
                          of + " has " + std::to_string(description.size()) +
                              " characters; it needs at least " + std::to_string(kShortestDescription));
        } else if (description.size() > kLongestDescription) {
            problems_.add(file_.path, line.number,
                          of + " has " + std::to_string(description.size()) + " characters; at most " +
                              std::to_string(kLongestDescription) + " fit");
        }
        checkSpacing(file_.path, line.number, at, description, of, false, problems_);
        checkCharacters(file_.path, line.number, at, description, of, allowedInDescription,
                        kDescriptionCharacters, problems_);
        checkQuotations(file_.path, line.number, at, description, of, problems_);
        if (!nameOk || description.starts_with(U' ')) {
            return;  // the opening cannot be judged against a faulty name
        }

        const auto other = openings_.find(Text(shown));
        const TextView opening = other == openings_.end() ? shown : TextView(other->second.opening);
        if (!startsWith(description, opening)) {
            if (other == openings_.end()) {
                problems_.add(file_.path, line.number, column(at),
                              of + " must begin with the name, " + quoted(shown) +
                                  " (or with another form of it listed in other-openings.txt)");
            } else {
                problems_.add(
                    file_.path, line.number, column(at),
                    of + " must begin with " + quoted(opening) + ", the opening other-openings.txt gives it");
            }
            return;
        }
        const TextView rest = description.substr(opening.size());
        const int restColumn = column(at + opening.size());
        if (rest.starts_with(U':')) {
            if (!readGroupMembers(rest)) {
                problems_.add(file_.path, line.number, restColumn,
                              of + ": after the name of a group, list its members after a colon, e.g. " +
                                  toUtf8(kGroupExample));
            } else if (group_) {
                problems_.add(
                    file_.path, line.number, restColumn,
                    quoted(shown) + " and " + quoted(group_->name) + " (line " +
                        std::to_string(group_->line) +
                        ") both list members after a colon, but only one entry may be a group; after a "
                        "person's name, give the life dates in parentheses, e.g. " +
                        toUtf8(kDatesExample));
            } else {
                group_ = Named{Text(shown), line.number};
            }
            return;
        }
        const std::optional<Dates> dates = readDates(rest);
        if (!dates) {
            problems_.add(
                file_.path, line.number, restColumn,
                of + ": after the name, give the life dates in parentheses, then „ - “ or „. “, e.g. " +
                    toUtf8(kDatesExample));
        } else if (dates->first > dates->second || (!dates->centuries && dates->first == dates->second)) {
            problems_.add(file_.path, line.number, restColumn + 2,
                          of + ": the second date in " + quoted(dates->text) + " must come after the first");
        } else if (!dates->centuries && dates->second - dates->first > kLongestLife) {
            problems_.add(file_.path, line.number, restColumn + 2,
                          of + ": the life dates " + quoted(dates->text) + " span " +
                              std::to_string(dates->second - dates->first) + " years; check them");
        }
    }

    struct Named {
        Text name;
        int line;
    };

    const SourceFile& file_;
    const std::map<Text, OtherOpening>& openings_;
    const std::string& openingsPath_;
    Problems& problems_;
    std::map<Text, int> seen_;  // shown name -> line
    std::optional<Named> previous_;
    std::optional<Named> trailingSpace_;
    std::optional<Named> group_;
    std::vector<EntryLine> checked_;
};

}  // namespace

std::optional<Content> readContent(const std::string& dir, Problems& problems) {
    const std::string titlePath = dir + "/title.txt";
    const std::string introductionPath = dir + "/introduction.txt";
    const std::string entriesPath = dir + "/entries.txt";
    const std::string openingsPath = dir + "/other-openings.txt";
    const std::optional<SourceFile> title = readSource(titlePath, "the title is one line", problems);
    const std::optional<SourceFile> introduction =
        readSource(introductionPath, "each line is one paragraph, and no empty line parts them", problems);
    const std::optional<SourceFile> entries =
        readSource(entriesPath, "each line is one entry", problems, "the description");
    const std::optional<SourceFile> openings =
        readSource(openingsPath, "each line gives one name's other opening", problems, "the opening");
    if (!problems.empty()) {
        return std::nullopt;  // the rules below read the text, so it must be read right first
    }

    Content content;
    checkTitle(*title, content, problems);
    checkIntroduction(*introduction, content, problems);
    const std::map<Text, OtherOpening> otherOpenings = readOtherOpenings(*openings, problems);
    content.entries = EntryChecker(*entries, otherOpenings, openingsPath, problems).check();
    if (!problems.empty()) {
        return std::nullopt;
    }
    return content;
}

std::u32string composeIntroduction(const Content& content) {
    Text names;
    for (std::size_t i = 0; i < content.entries.size(); ++i) {
        if (i > 0) {
            names += i + 1 == content.entries.size() ? U" и " : U", ";
        }
        names += withoutTrailingSpace(content.entries[i].name);
    }
    Text text;
    for (Text paragraph : content.paragraphs) {
        const std::size_t at = paragraph.find(kNamesPlaceholder);
        if (at != Text::npos) {
            paragraph.replace(at, kNamesPlaceholder.size(), names);
        }
        text += paragraph + U"\r\n";
    }
    return text;
}

}  // namespace embed
