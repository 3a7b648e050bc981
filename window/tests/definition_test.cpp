// The window definition against the pixel values the window is drawn to at
// 96 dpi, and the layout rules its twips must keep. The pixel rectangles are
// stated a second time here on purpose: they are what a pupil measures on
// screen, and this is the one check that the twips give exactly them.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "window/conformance/driver.h"
#include "window/definition.h"

namespace definition {
namespace {

TEST(WindowDefinition, GivesThePixelsOfTheWindowAndEachControlAt96Dpi) {
    EXPECT_EQ(twipsToPixels(kWindow.clientWidth, 96), 441);
    EXPECT_EQ(twipsToPixels(kWindow.clientHeight, 96), 362);
    EXPECT_EQ(pixelRect(kDescriptionStore.rect, 96), (PixelRect{128, 208, 265, 251}));
    EXPECT_EQ(pixelRect(kNameList.rect, 96), (PixelRect{96, 24, 265, 156}));
    EXPECT_EQ(pixelRect(kDescriptionBox.rect, 96), (PixelRect{8, 184, 425, 169}));
    EXPECT_EQ(pixelRect(kTitleLabel.rect, 96), (PixelRect{96, 0, 265, 25}));
    // Every length is a whole number of pixels at 96 dpi.
    for (const Control& control : kControls) {
        for (const Twips twips :
             {control.rect.left, control.rect.top, control.rect.width, control.rect.height}) {
            EXPECT_EQ(twips % 15, 0) << control.name << " " << twips;
        }
    }
}

TEST(WindowDefinition, ConvertsTwipsAndPointsAsWindowsRounds) {
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(15, 144), 2);      // 1.5 rounds up
    EXPECT_EQ(twipsToPixels(-15, 144), -2);    // and away from zero below it
    EXPECT_EQ(twipsToPixels(1005, 144), 101);  // 100.5
    EXPECT_EQ(twipsToPixels(1005, 192), 134);
    EXPECT_EQ(twipsToPixels(7, 96), 0);
    EXPECT_EQ(twipsToPixels(8, 96), 1);
    EXPECT_EQ(pointsToPixels(12, 96), 16);
    EXPECT_EQ(pointsToPixels(12, 144), 24);
    EXPECT_EQ(pointsToPixels(9, 96), 12);
}

TEST(WindowDefinition, KeepsColoursWithRedInTheLowByte) {
    EXPECT_EQ(kWindow.background, Colour::fromRgb(192, 192, 255));
    EXPECT_EQ(kWindow.background.red(), 192);
    EXPECT_EQ(kWindow.background.blue(), 255);
    ASSERT_TRUE(kTitleLabel.background.has_value());
    EXPECT_EQ(*kTitleLabel.background, Colour::fromRgb(255, 192, 128));
    EXPECT_EQ(kTitleLabel.background->red(), 255);
    EXPECT_EQ(kTitleLabel.background->green(), 192);
    EXPECT_EQ(kTitleLabel.background->blue(), 128);
}

TEST(WindowDefinition, LaysTheControlsOutByItsRules) {
    const Rect label = kTitleLabel.rect;
    const Rect list = kNameList.rect;
    const Rect box = kDescriptionBox.rect;
    EXPECT_EQ(label.top, 0);
    EXPECT_EQ(label.left, 1440);
    EXPECT_EQ(kWindow.clientWidth - label.right(), 1200);
    EXPECT_EQ(list.left, label.left);
    EXPECT_EQ(list.width, label.width);
    EXPECT_EQ(label.bottom() - list.top, 15);  // the list covers the label's bottom pixel
    EXPECT_EQ(box.top - list.bottom(), 60);
    EXPECT_EQ(box.left, 120);
    EXPECT_EQ(kWindow.clientWidth - box.right(), 120);
    EXPECT_EQ(kWindow.clientHeight - box.bottom(), 135);
}

TEST(WindowDefinition, StacksTheLabelBeneathTheListThatCoversIt) {
    const auto order = stackingOrder();
    const auto place = [&](const Control& wanted) {
        return std::find(order.begin(), order.end(), &wanted) - order.begin();
    };
    EXPECT_LT(place(kTitleLabel), place(kNameList));
    EXPECT_EQ(order.front(), &kTitleLabel);
    // The others keep their order of creation.
    EXPECT_LT(place(kDescriptionStore), place(kNameList));
    EXPECT_LT(place(kNameList), place(kDescriptionBox));
    EXPECT_EQ(std::set<const Control*>(order.begin(), order.end()).size(), kControls.size());
}

TEST(WindowDefinition, OrdersTabsBoxLabelListStore) {
    std::set<int> places;
    for (const Control& control : kControls) {
        places.insert(control.tabPlace);
    }
    EXPECT_EQ(places, (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(kDescriptionBox.tabPlace, 1);
    EXPECT_EQ(kTitleLabel.tabPlace, 2);
    EXPECT_EQ(kNameList.tabPlace, 3);
    EXPECT_EQ(kDescriptionStore.tabPlace, 4);
    // Only the visible list and the box take the focus.
    for (const Control& control : kControls) {
        EXPECT_EQ(control.takesFocus, &control == &kNameList || &control == &kDescriptionBox) << control.name;
    }
}

TEST(WindowDefinition, NamesEachControlAsItsArrayAndMember) {
    EXPECT_EQ(&control("List1", 0), &kNameList);
    EXPECT_EQ(&control("List1", 1), &kDescriptionStore);
    EXPECT_EQ(&control("Text1", 0), &kDescriptionBox);
    EXPECT_EQ(&control("Label1"), &kTitleLabel);
    EXPECT_FALSE(kDescriptionStore.visible);
    EXPECT_EQ(kDescriptionStore.content, Content::Descriptions);
    EXPECT_EQ(kNameList.content, Content::Names);
}

}  // namespace
}  // namespace definition
