// The monkey test: random user actions on the real window through the front
// end's driver (driver.h), from a fixed seed that it prints: clicks and
// double clicks anywhere in the client area, drags in the list, list and
// paging keys with and without Shift or Ctrl, Tab and Shift+Tab, typing,
// editing keys, pasting and the wheel. After every action the window must be
// consistent: the box shows exactly the description at the selected position
// (the introduction while nothing was ever selected), the selection is never
// lost once made, the names keep their order and the window its size.
//
//   KALVETOR_MONKEY_SEED=<n> KALVETOR_MONKEY_ACTIONS=<n> <front end>_monkey_test

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <string>

#include "catalogue/catalogue.h"
#include "window/conformance/driver.h"
#include "window/conformance/shown_text.h"
#include "window/definition.h"

namespace conformance {
namespace {

constexpr unsigned long kDefaultSeed = 20261208;

unsigned long environmentNumber(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoul(value, nullptr, 10) : fallback;
}

class Monkey {
public:
    Monkey(Driver& driver, unsigned long seed)
        : driver_(driver),
          random_(static_cast<std::mt19937::result_type>(seed)),
          size_(driver.clientSize()) {}

    // Does one random action and says which, for messages.
    std::string act() {
        switch (std::discrete_distribution<int>({6, 1, 1, 4, 2, 1, 1, 1, 2})(random_)) {
            case 0: {
                const Point at = anywhere();
                const Modifier modifier = someModifier();
                driver_.clickAt(at.x, at.y, modifier);
                return "click at " + at.text() + withModifier(modifier);
            }
            case 1: {
                const Point at = anywhere();
                driver_.doubleClickAt(at.x, at.y);
                return "double click at " + at.text();
            }
            case 2: {
                const Point from = inside(definition::kNameList);
                const Point to = inside(definition::kNameList);
                driver_.drag(from.x, from.y, to.x, to.y);
                return "drag from " + from.text() + " to " + to.text();
            }
            case 3: {
                static constexpr Key kKeys[] = {Key::Up,  Key::Down,   Key::Left,     Key::Right, Key::Home,
                                                Key::End, Key::PageUp, Key::PageDown, Key::Space};
                const Key key = kKeys[below(std::size(kKeys))];
                const Modifier modifier = someModifier();
                driver_.press(key, modifier);
                return std::string(nameOf(key)) + withModifier(modifier);
            }
            case 4: {
                const Key key = below(2) == 0 ? Key::ShiftTab : Key::Tab;
                driver_.press(key);
                return std::string(nameOf(key));
            }
            case 5: {
                // First letters of names, letters no name begins with, and others.
                static const std::u16string kLetters =
                    u"АБВГДЕЗИЙКЛМНОПРСТХЦЧЯабвгдежзийклмнопрстюяAZaz09 .,-";
                std::u16string typed;
                for (std::size_t i = 1 + below(std::size_t{8}); i > 0; --i) {
                    typed += kLetters[below(kLetters.size())];
                }
                driver_.type(typed);
                return "typing " + utf8(typed);
            }
            case 6: {
                static constexpr Key kKeys[] = {Key::Delete,    Key::Backspace, Key::Return,
                                                Key::SelectAll, Key::Copy,      Key::Cut};
                const Key key = kKeys[below(std::size(kKeys))];
                driver_.press(key);
                return std::string(nameOf(key));
            }
            case 7: {
                const std::u16string text =
                    below(2) == 0 ? u"поставен текст" : nameAt(below(catalogue::kEntryCount));
                driver_.setClipboard(text);
                driver_.press(Key::Paste);
                return "paste " + utf8(text);
            }
            default: {
                const Point at = inside(below(2) == 0 ? definition::kNameList : definition::kDescriptionBox);
                const int notches = below(2) == 0 ? 1 : -1;
                driver_.turnWheelAt(at.x, at.y, notches);
                return "wheel " + std::to_string(notches) + " at " + at.text();
            }
        }
    }

    ::testing::AssertionResult consistent() {
        const int selected = driver_.selectedEntry();
        everSelected_ = everSelected_ || selected >= 0;
        if (everSelected_ && selected < 0) {
            return ::testing::AssertionFailure() << "the selection was lost";
        }
        const std::u16string shown = driver_.boxText();
        if (shown != (selected >= 0 ? descriptionAt(selected) : introductionAsShown())) {
            return ::testing::AssertionFailure()
                   << "entry " << selected << " is selected and the box shows: " << utf8(shown.substr(0, 80));
        }
        if (driver_.controlRect(definition::kDescriptionStore).has_value()) {
            return ::testing::AssertionFailure() << "the description store is shown";
        }
        const PixelRect size = driver_.clientSize();
        if (size != size_) {
            return ::testing::AssertionFailure()
                   << "the client area changed from " << size_.width << "x" << size_.height << " to "
                   << size.width << "x" << size.height;
        }
        if (driver_.listCount() != catalogue::kEntryCount) {
            return ::testing::AssertionFailure() << "the list holds " << driver_.listCount() << " names";
        }
        for (int row = 0; row < catalogue::kEntryCount; ++row) {
            if (driver_.listItem(row) != nameAt(row)) {
                return ::testing::AssertionFailure()
                       << "row " << row << " shows " << utf8(driver_.listItem(row));
            }
        }
        return ::testing::AssertionSuccess();
    }

    bool everSelected() const { return everSelected_; }

private:
    struct Point {
        int x;
        int y;
        std::string text() const { return std::to_string(x) + "," + std::to_string(y); }
    };

    std::size_t below(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }
    int below(int count) { return static_cast<int>(below(static_cast<std::size_t>(count))); }

    Point within(const PixelRect& area) {
        return {area.left + below(area.width), area.top + below(area.height)};
    }
    Point anywhere() { return within(size_); }
    Point inside(const definition::Control& control) { return within(driver_.controlRect(control).value()); }

    Modifier someModifier() {
        static constexpr Modifier kChoices[] = {Modifier::None, Modifier::None, Modifier::None,
                                                Modifier::Control, Modifier::Shift};
        return kChoices[below(std::size(kChoices))];
    }
    static std::string withModifier(Modifier modifier) {
        switch (modifier) {
            case Modifier::None: return "";
            case Modifier::Shift: return " with Shift";
            case Modifier::Control: return " with Ctrl";
        }
        return "";
    }

    Driver& driver_;
    std::mt19937 random_;
    const PixelRect size_;
    bool everSelected_ = false;
};

TEST(Monkey, KeepsTheWindowConsistentThroughRandomActions) {
    const std::unique_ptr<Driver> driver = makeDriver();
    const unsigned long seed = environmentNumber("KALVETOR_MONKEY_SEED", kDefaultSeed);
    const unsigned long actions =
        environmentNumber("KALVETOR_MONKEY_ACTIONS", static_cast<unsigned long>(driver->monkeyActions()));
    std::cout << "monkey: seed " << seed << ", " << actions
              << " actions (rerun with KALVETOR_MONKEY_SEED=" << seed << ")" << std::endl;
    RecordProperty("seed", std::to_string(seed));

    driver->start();
    Monkey monkey(*driver, seed);
    ASSERT_TRUE(monkey.consistent()) << "at the start";
    for (unsigned long step = 1; step <= actions; ++step) {
        const std::string action = monkey.act();
        ASSERT_FALSE(HasFailure()) << "in action " << step << " (" << action << "); seed " << seed;
        ASSERT_TRUE(monkey.consistent()) << "after action " << step << " (" << action << "); seed " << seed;
    }
    EXPECT_TRUE(monkey.everSelected()) << "no action ever selected an entry";
}

}  // namespace
}  // namespace conformance
