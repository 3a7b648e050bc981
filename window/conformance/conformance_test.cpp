// The window as a pupil meets it, the same on every front end: geometry,
// colours and font from the window definition; the catalogue in the list and
// the box; choosing names with the mouse and the keyboard; the read-only
// box; the tab order; closing. Each front end runs this suite through its
// own driver (driver.h).

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "window/caption.h"
#include "window/conformance/driver.h"
#include "window/conformance/shown_text.h"
#include "window/definition.h"

namespace conformance {

void PrintTo(const PixelRect& r, std::ostream* out) {
    *out << r.left << "," << r.top << " " << r.width << "x" << r.height;
}
void PrintTo(const Rgb& c, std::ostream* out) {
    *out << "RGB(" << c.red << "," << c.green << "," << c.blue << ")";
}

namespace {

using definition::Control;
using definition::kWindow;

// The faces a front end may draw the window's font with: the font itself,
// or the metric-compatible face fontconfig and Wine put in its place.
bool isTheWindowsFont(const std::string& family) {
    return family == kWindow.font.family || family == "Liberation Serif";
}

// One driver for the whole run, made on first use and ended after the last
// test, before the program's static objects go: a toolkit must not outlive
// its own globals.
std::unique_ptr<Driver>& driverInstance() {
    static std::unique_ptr<Driver> instance;
    return instance;
}

Driver& driver() {
    std::unique_ptr<Driver>& instance = driverInstance();
    if (!instance) {
        instance = makeDriver();
    }
    return *instance;
}

class EndTheDriver : public ::testing::Environment {
public:
    void TearDown() override { driverInstance().reset(); }
};
const ::testing::Environment* const kEndTheDriver = ::testing::AddGlobalTestEnvironment(new EndTheDriver);

class Window : public ::testing::Test {
protected:
    void SetUp() override { driver().start(); }

    int px(definition::Twips twips) { return definition::twipsToPixels(twips, driver().dpi()); }
    PixelRect pixels(const definition::Rect& rect) { return definition::pixelRect(rect, driver().dpi()); }
    Rgb rgb(definition::Colour colour) { return {colour.red(), colour.green(), colour.blue()}; }

    void clickEntry(int row) { driver().clickEntry(row); }

    // The box shows the entry's description from its first line, and the
    // list keeps the entry selected.
    void expectShown(int row) {
        EXPECT_EQ(driver().selectedEntry(), row);
        EXPECT_TRUE(driver().boxText() == descriptionAt(row))
            << "entry " << row << " selected, the box shows: " << utf8(driver().boxText());
        EXPECT_EQ(driver().boxFirstVisibleLine(), 0) << "entry " << row;
        EXPECT_EQ(driver().boxCaretPosition(), 0) << "entry " << row;
    }

    void focusList() {
        if (driver().focused() != &definition::kNameList) {
            driver().press(Key::Tab);
        }
        ASSERT_EQ(driver().focused(), &definition::kNameList);
    }
};

TEST_F(Window, HasItsFixedClientAreaAndCaption) {
    const PixelRect client = driver().clientSize();
    EXPECT_EQ(client.width, px(kWindow.clientWidth));
    EXPECT_EQ(client.height, px(kWindow.clientHeight));
    EXPECT_TRUE(driver().caption() == frontend::caption()) << utf8(driver().caption());
}

TEST_F(Window, HasItsTitleBarButtonsAndFixedBorder) {
    if (const std::string why = driver().withoutFrame(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const Frame frame = driver().frame();
    EXPECT_EQ(frame.resizable, kWindow.resizable);
    EXPECT_EQ(frame.minimiseButton, kWindow.minimiseButton);
    EXPECT_EQ(frame.maximiseButton, kWindow.maximiseButton);
    EXPECT_EQ(frame.systemMenu, kWindow.systemMenu);
    EXPECT_EQ(frame.closeButton, kWindow.closeButton);
}

// Centred on the screen: the window, or its client area when the frame is
// added later by a window manager, sits in the middle of the work area (a
// page's window, in the middle of the browser's viewport).
TEST_F(Window, OpensInTheCentreOfTheScreen) {
    const PixelRect onScreen = driver().frameOnScreen();
    const PixelRect area = driver().workArea();
    const PixelRect client = driver().clientSize();
    const int slackX = (onScreen.width - client.width) / 2 + 1;
    const int slackY = (onScreen.height - client.height) / 2 + 1;
    const int dx = (onScreen.left + onScreen.width / 2) - (area.left + area.width / 2);
    const int dy = (onScreen.top + onScreen.height / 2) - (area.top + area.height / 2);
    EXPECT_LE(std::abs(dx), slackX) << "frame at " << onScreen.left << "," << onScreen.top;
    EXPECT_LE(std::abs(dy), slackY) << "frame at " << onScreen.left << "," << onScreen.top;
}

TEST_F(Window, PlacesTheLabelAndTheBoxExactly) {
    for (const Control* control : {&definition::kTitleLabel, &definition::kDescriptionBox}) {
        const std::optional<PixelRect> rect = driver().controlRect(*control);
        ASSERT_TRUE(rect.has_value()) << control->name;
        EXPECT_EQ(*rect, pixels(control->rect)) << control->name;
    }
}

// The list keeps its place and width and loses the part of a row that would
// not fit, so only whole rows show.
TEST_F(Window, PlacesTheNameListInWholeRows) {
    const std::optional<PixelRect> rect = driver().controlRect(definition::kNameList);
    ASSERT_TRUE(rect.has_value());
    const PixelRect defined = pixels(definition::kNameList.rect);
    EXPECT_EQ(rect->left, defined.left);
    EXPECT_EQ(rect->top, defined.top);
    EXPECT_EQ(rect->width, defined.width);
    const int row = driver().listRowHeight();
    ASSERT_GT(row, 0);
    EXPECT_LE(rect->height, defined.height);
    EXPECT_GT(rect->height, defined.height - row);
    EXPECT_EQ(driver().listInnerHeight() % row, 0) << "inner height " << driver().listInnerHeight();
}

TEST_F(Window, NeverShowsTheDescriptionStore) {
    EXPECT_FALSE(driver().controlRect(definition::kDescriptionStore).has_value());
    clickEntry(4);
    EXPECT_FALSE(driver().controlRect(definition::kDescriptionStore).has_value());
}

TEST_F(Window, PaintsTheBackgroundAndTheLabelInTheirColours) {
    const PixelRect label = pixels(definition::kTitleLabel.rect);
    const PixelRect list = pixels(definition::kNameList.rect);
    const PixelRect box = pixels(definition::kDescriptionBox.rect);
    const Rgb background = rgb(kWindow.background);
    const Rgb orange = rgb(*definition::kTitleLabel.background);
    EXPECT_EQ(driver().colourAt(4, 4), background);
    EXPECT_EQ(driver().colourAt(list.left + list.width + 10, list.top + list.height / 2), background);
    EXPECT_EQ(driver().colourAt(box.left + box.width / 2, box.top - 2), background);  // the gap above the box
    EXPECT_EQ(driver().colourAt(label.left + 2, label.top + 2), orange);
    EXPECT_EQ(driver().colourAt(label.left + label.width - 3, list.top - 3), orange);
}

// The box keeps a text box's standard background: seen below the last line
// of the shortest description, where the box holds no text.
TEST_F(Window, PaintsTheBoxInTheStandardColours) {
    int shortest = 0;
    for (int i = 1; i < catalogue::kEntryCount; ++i) {
        if (catalogue::kDescriptions[static_cast<std::size_t>(i)].size() <
            catalogue::kDescriptions[static_cast<std::size_t>(shortest)].size()) {
            shortest = i;
        }
    }
    clickEntry(shortest);
    const PixelRect box = pixels(definition::kDescriptionBox.rect);
    EXPECT_EQ(driver().colourAt(box.left + box.width / 2, box.top + box.height - px(120)),
              driver().standardBoxBackground());
}

// The label's caption sits where its alignment puts it: the ink of its
// letters, found against the label's colour, is centred or against one side.
TEST_F(Window, AlignsTheTitleInTheLabel) {
    const PixelRect label = pixels(definition::kTitleLabel.rect);
    const PixelRect list = pixels(definition::kNameList.rect);
    const PixelRect shown{label.left, label.top, label.width, std::min(label.height, list.top - label.top)};
    const std::vector<Rgb> colours = driver().coloursIn(shown);
    ASSERT_EQ(colours.size(), static_cast<std::size_t>(shown.width * shown.height));
    const Rgb paper = rgb(*definition::kTitleLabel.background);
    int first = shown.width;
    int last = -1;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        if (colours[i] != paper) {
            const int x = static_cast<int>(i % static_cast<std::size_t>(shown.width));
            first = std::min(first, x);
            last = std::max(last, x);
        }
    }
    ASSERT_GE(last, first) << "no letters drawn in the label";
    const int before = first;
    const int after = shown.width - 1 - last;
    switch (definition::kTitleLabel.alignment) {
        case definition::Alignment::Centre:
            EXPECT_LE(std::abs(before - after), 2) << before << " | " << after;
            break;
        case definition::Alignment::Left: EXPECT_LT(before, after) << before << " | " << after; break;
        case definition::Alignment::Right: EXPECT_GT(before, after) << before << " | " << after; break;
    }
}

TEST_F(Window, DrawsEveryControlInTheWindowsFont) {
    for (const Control& control : definition::kControls) {
        if (!control.visible) {
            continue;
        }
        const FontInUse font = driver().fontOf(control);
        EXPECT_TRUE(isTheWindowsFont(font.family)) << control.name << ": " << font.family;
        EXPECT_EQ(font.pixelHeight, definition::pointsToPixels(kWindow.font.points, driver().dpi()))
            << control.name;
        EXPECT_EQ(font.weight, kWindow.font.weight) << control.name;
        EXPECT_EQ(font.italic, kWindow.font.italic) << control.name;
        EXPECT_EQ(font.underline, kWindow.font.underline) << control.name;
        EXPECT_EQ(font.strikeOut, kWindow.font.strikeOut) << control.name;
    }
}

TEST_F(Window, HoldsTheTitleAndTheNamesInStoredOrder) {
    EXPECT_TRUE(driver().labelText() == catalogue::decodeCp1251(catalogue::kTitle))
        << utf8(driver().labelText());
    EXPECT_EQ(driver().listSorted(), definition::kNameList.sorted);
    ASSERT_EQ(driver().listCount(), catalogue::kEntryCount);
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        // Shown as stored, the one trailing space included.
        EXPECT_TRUE(driver().listItem(i) == nameAt(i)) << i << ": " << utf8(driver().listItem(i));
    }
}

TEST_F(Window, OpensWithTheIntroductionFocusedAndNothingSelected) {
    EXPECT_EQ(driver().selectedEntry(), -1);
    EXPECT_TRUE(driver().boxText() == introductionAsShown()) << utf8(driver().boxText());
    EXPECT_EQ(driver().focused(), &definition::kDescriptionBox);
    EXPECT_EQ(driver().boxFirstVisibleLine(), 0);
    EXPECT_EQ(driver().boxCaretPosition(), 0);
    EXPECT_FALSE(driver().boxHasTextSelected());
}

// One row per entry, named after it in Latin letters.
class ClickedEntry : public Window, public ::testing::WithParamInterface<int> {};

TEST_P(ClickedEntry, ShowsItsDescription) {
    const int row = GetParam();
    // From another entry each time, so every click changes the selection.
    clickEntry((row + 7) % catalogue::kEntryCount);
    clickEntry(row);
    expectShown(row);
}

std::string latinName(const ::testing::TestParamInfo<int>& info) {
    // The Bulgarian official transliteration, enough for test names.
    static const char* const kLatin[] = {
        "A", "B", "V", "G", "D", "E", "Zh", "Z",  "I",  "Y",   "K", "L", "M", "N", "O",  "P",
        "R", "S", "T", "U", "F", "H", "Ts", "Ch", "Sh", "Sht", "A", "Y", "Y", "E", "Yu", "Ya",
    };
    std::string name = std::to_string(info.param) + "_";
    for (const char16_t c : nameAt(info.param)) {
        if (c >= u'А' && c <= u'я') {
            const std::string latin = kLatin[(c - u'А') % 32];
            name += c >= u'а' && !latin.empty() ? static_cast<char>(latin[0] - 'A' + 'a') + latin.substr(1)
                                                : latin;
        } else if (c == u' ' || c == u'-') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EachEntry, ClickedEntry, ::testing::Range(0, catalogue::kEntryCount), latinName);

TEST_F(Window, ShowsTheDescriptionAsTheKeyboardMovesTheSelection) {
    focusList();
    driver().press(Key::Home);
    expectShown(0);
    for (int row = 1; row < catalogue::kEntryCount; ++row) {
        driver().press(Key::Down);
        expectShown(row);
    }
    driver().press(Key::PageUp);
    const int afterPageUp = driver().selectedEntry();
    EXPECT_LT(afterPageUp, catalogue::kEntryCount - 1);
    expectShown(afterPageUp);
    driver().press(Key::Up);
    expectShown(afterPageUp - 1);
    driver().press(Key::PageDown);
    EXPECT_GT(driver().selectedEntry(), afterPageUp - 1);
    expectShown(driver().selectedEntry());
    driver().press(Key::End);
    expectShown(catalogue::kEntryCount - 1);
    // Left and Right move as Up and Down do.
    driver().press(Key::Left);
    expectShown(catalogue::kEntryCount - 2);
    driver().press(Key::Right);
    expectShown(catalogue::kEntryCount - 1);
}

// Tabbed into with nothing selected, the list has its cursor on the first
// entry, and a screen reader names that entry. The first list key then
// selects it rather than moving on, as the native list box does.
class FirstListKey : public Window, public ::testing::WithParamInterface<Key> {};

TEST_P(FirstListKey, SelectsTheEntryUnderTheCursor) {
    focusList();
    driver().press(GetParam());
    expectShown(0);
}

INSTANTIATE_TEST_SUITE_P(AfterTab, FirstListKey,
                         ::testing::Values(Key::Down, Key::Up, Key::Home, Key::End, Key::PageDown,
                                           Key::PageUp, Key::Left, Key::Right),
                         [](const auto& row) { return std::string(nameOf(row.param)); });

TEST_F(Window, ShowsTheEntryFoundByTheFirstLetterTyped) {
    // The first name with a letter no earlier name begins with.
    int wanted = catalogue::kEntryCount - 1;
    for (; wanted > 0 && nameAt(wanted - 1)[0] == nameAt(wanted)[0]; --wanted) {
    }
    ASSERT_GT(wanted, 0);
    focusList();
    driver().type(nameAt(wanted).substr(0, 1));
    expectShown(wanted);
}

TEST_F(Window, ShowsTheSelectedEntryAgainFromTheTopWhenItIsClickedAgain) {
    int longest = 0;
    for (int i = 1; i < catalogue::kEntryCount; ++i) {
        if (catalogue::kDescriptions[static_cast<std::size_t>(i)].size() >
            catalogue::kDescriptions[static_cast<std::size_t>(longest)].size()) {
            longest = i;
        }
    }
    // Read on: the caret taken a page down and the box scrolled to its end.
    // Where the whole text fits the box (Qt 6.8 spaces the lines a pixel
    // tighter than Qt 6.4 does) nothing scrolls, and the caret alone shows
    // whether the click showed the text again. Chromium's read-only field
    // has no caret the keys move, so there a click in the text places it.
    clickEntry(longest);
    driver().press(Key::Tab);
    ASSERT_EQ(driver().focused(), &definition::kDescriptionBox);
    driver().press(Key::PageDown);
    driver().scrollBoxToEnd();
    if (driver().boxCaretPosition() == 0) {
        const PixelRect box = pixels(definition::kDescriptionBox.rect);
        driver().clickAt(box.left + box.width / 2, box.top + box.height / 2, Modifier::None);
    }
    ASSERT_GT(driver().boxCaretPosition(), 0);
    clickEntry(longest);
    expectShown(longest);
}

TEST_F(Window, KeepsTheBoxReadOnlyButLetsItsTextBeCopied) {
    clickEntry(2);
    driver().press(Key::Tab);
    ASSERT_EQ(driver().focused(), &definition::kDescriptionBox);
    driver().setClipboard(u"вмъкнат текст");
    driver().type(u"abc где");
    for (const Key key :
         {Key::Delete, Key::Backspace, Key::Return, Key::Paste, Key::SelectAll, Key::Cut, Key::Delete}) {
        driver().press(key);
    }
    EXPECT_TRUE(driver().boxText() == descriptionAt(2)) << utf8(driver().boxText());
    EXPECT_EQ(driver().selectedEntry(), 2);

    driver().press(Key::SelectAll);
    driver().press(Key::Copy);
    EXPECT_TRUE(driver().clipboard() == descriptionAt(2)) << utf8(driver().clipboard());
}

TEST_F(Window, MovesTheFocusBetweenTheBoxAndTheListOnly) {
    ASSERT_EQ(driver().focused(), &definition::kDescriptionBox);
    driver().press(Key::Tab);
    EXPECT_EQ(driver().focused(), &definition::kNameList);
    driver().press(Key::Tab);
    EXPECT_EQ(driver().focused(), &definition::kDescriptionBox);
    driver().press(Key::ShiftTab);
    EXPECT_EQ(driver().focused(), &definition::kNameList);
    driver().press(Key::ShiftTab);
    EXPECT_EQ(driver().focused(), &definition::kDescriptionBox);
    // Moving the focus chooses nothing.
    EXPECT_EQ(driver().selectedEntry(), -1);
    EXPECT_TRUE(driver().boxText() == introductionAsShown());
}

TEST_F(Window, EndsTheProgramWithStatusZeroWhenClosed) {
    clickEntry(1);
    EXPECT_EQ(driver().closeAndWaitForExit(), 0);
}

}  // namespace
}  // namespace conformance
