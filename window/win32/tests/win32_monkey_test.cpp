// The monkey test: random clicks, double clicks, keys, typing, pasting and
// scrolling on the real window, checking after each that the box shows the
// description at the selected position (the introduction while nothing is
// selected) and that the window keeps its size. The seed is printed; rerun
// one with KALVETOR_MONKEY_SEED=<n>, and set KALVETOR_MONKEY_ACTIONS=<n> for
// more or fewer actions (2,000 unless set).

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "window/win32/tests/win32_driver.h"
#include "window/win32/text.h"

namespace kalvetor::win32::testing {
namespace {

using conformance::Key;

unsigned long environmentNumber(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoul(value, nullptr, 10) : fallback;
}

std::u16string expectedText(int selected) {
    if (selected < 0) {
        return withLf(catalogue::decodeCp1251(catalogue::kIntroduction));
    }
    return catalogue::decodeCp1251(catalogue::kDescriptions[static_cast<std::size_t>(selected)]);
}

TEST(Monkey, KeepsTheBoxOnTheSelectedEntryAndTheWindowItsSize) {
    const unsigned long seed = environmentNumber("KALVETOR_MONKEY_SEED", std::random_device{}());
    const unsigned long actions = environmentNumber("KALVETOR_MONKEY_ACTIONS", 2000);
    std::cout << "monkey: seed " << seed << ", " << actions << " actions (KALVETOR_MONKEY_SEED=" << seed
              << " repeats this run)" << std::endl;
    RecordProperty("seed", std::to_string(seed));

    Win32Driver driver;
    driver.start();
    const conformance::PixelRect size = driver.clientSize();
    const HWND list = driver.control(definition::kNameList);

    constexpr Key kKeys[] = {Key::Up,       Key::Down,      Key::Home,     Key::End,    Key::PageUp,
                             Key::PageDown, Key::Tab,       Key::ShiftTab, Key::Delete, Key::Backspace,
                             Key::Return,   Key::SelectAll, Key::Copy,     Key::Paste,  Key::Cut};
    // First letters of names, letters no name begins with, and others.
    const std::u16string letters = u"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЮЯабвгдежзийклмнопрстуфхцчшщюяAZaz09 .-";
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

    for (unsigned long step = 0; step < actions; ++step) {
        std::string action;
        switch (below(8)) {
            case 0:
            case 1: {
                const int row = below(catalogue::kEntryCount);
                action = "click entry " + std::to_string(row);
                driver.clickEntry(row);
                break;
            }
            case 2: {
                // Twice at one point of a row in view: a double click.
                const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
                const int row = std::min(top + below(4), catalogue::kEntryCount - 1);
                RECT item{};
                SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
                const POINT point{item.left + 10 + below(100), (item.top + item.bottom) / 2};
                action = "double click row " + std::to_string(row);
                driver.clickAt(list, point);
                driver.clickAt(list, point);
                break;
            }
            case 3:
            case 4:
            case 5: {
                const Key key = kKeys[below(static_cast<int>(std::size(kKeys)))];
                action = "key " + std::to_string(static_cast<int>(key));
                driver.press(key);
                break;
            }
            case 6: {
                const char16_t letter =
                    letters[static_cast<std::size_t>(below(static_cast<int>(letters.size())))];
                action = "type U+" + std::to_string(static_cast<int>(letter));
                driver.type(std::u16string(1, letter));
                break;
            }
            default:
                if (below(2) == 0) {
                    action = "scroll the box to its end";
                    driver.scrollBoxToEnd();
                } else {
                    action = "put text on the clipboard and paste";
                    driver.setClipboard(u"поставен текст");
                    driver.press(Key::Paste);
                }
                break;
        }

        const conformance::PixelRect now = driver.clientSize();
        ASSERT_EQ(now, size) << "step " << step << " (" << action << "), seed " << seed;
        const int selected = driver.selectedEntry();
        ASSERT_TRUE(driver.boxText() == expectedText(selected))
            << "step " << step << " (" << action << "): entry " << selected
            << " selected and the box shows another text; seed " << seed;
    }
}

}  // namespace
}  // namespace kalvetor::win32::testing
