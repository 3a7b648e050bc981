// What every front end shares: the caption, the description store and the
// dispatch of List1's and Text1's members to the controls that stand for
// them, with a failed selection reported once.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "resources/identity.h"
#include "window/caption.h"
#include "window/window_controls.h"

namespace frontend {
namespace {

TEST(Caption, IsTheWebAddressTwoSpacesAndTheTitle) {
    EXPECT_EQ(caption(), catalogue::decodeCp1251(KALVETOR_WEB_ADDRESS "  ") + u"Калветор");
}

TEST(DescriptionStore, HoldsEachDescriptionAtItsEntrysPosition) {
    const DescriptionStore store;
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        EXPECT_EQ(store.item(i),
                  catalogue::decodeCp1251(catalogue::kDescriptions[static_cast<std::size_t>(i)]));
    }
    EXPECT_EQ(store.item(-1), std::nullopt);
    EXPECT_EQ(store.item(catalogue::kEntryCount), std::nullopt);
}

class FakeFrontEnd final : public WindowControls {
public:
    explicit FakeFrontEnd(const DescriptionStore& store) : WindowControls(store) {}

    catalogue::Position selected = -1;
    std::u16string box = u"introduction";
    std::vector<std::string> reports;

protected:
    class List final : public catalogue::ListMember {
    public:
        explicit List(FakeFrontEnd& f) : f_(f) {}
        std::optional<catalogue::Position> selectedPosition() override { return f_.selected; }
        std::optional<std::u16string> item(catalogue::Position) override { return std::nullopt; }

    private:
        FakeFrontEnd& f_;
    };
    class Box final : public catalogue::TextBox {
    public:
        explicit Box(FakeFrontEnd& f) : f_(f) {}
        bool replaceText(std::u16string_view text) override {
            f_.box = text;
            return true;
        }

    private:
        FakeFrontEnd& f_;
    };

    std::unique_ptr<catalogue::ListMember> takeNameList() override { return std::make_unique<List>(*this); }
    std::unique_ptr<catalogue::TextBox> takeDescriptionBox() override { return std::make_unique<Box>(*this); }
    void report(const std::string& line) override { reports.push_back(line); }
};

TEST(WindowControls, ShowsTheStoresDescriptionForTheSelectedName) {
    const DescriptionStore store;
    FakeFrontEnd frontEnd(store);
    frontEnd.selected = 23;
    frontEnd.showSelectedDescription(catalogue::kNameList);
    EXPECT_EQ(frontEnd.box, store.item(23));
    EXPECT_TRUE(frontEnd.reports.empty());
}

TEST(WindowControls, GivesTheStoreAsList1Member1WithNothingSelected) {
    const DescriptionStore store;
    FakeFrontEnd frontEnd(store);
    const auto member = frontEnd.takeList1(catalogue::kDescriptionStore);
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(member->selectedPosition(), -1);
    EXPECT_EQ(member->item(0), store.item(0));
    EXPECT_EQ(frontEnd.takeList1(2), nullptr);
    EXPECT_EQ(frontEnd.takeText1(1), nullptr);
    EXPECT_NE(frontEnd.takeText1(catalogue::kDescriptionBox), nullptr);
}

TEST(WindowControls, ReportsAFailedSelectionInOneLineAndKeepsTheBox) {
    const DescriptionStore store;
    FakeFrontEnd frontEnd(store);
    frontEnd.selected = catalogue::kEntryCount;
    frontEnd.showSelectedDescription(catalogue::kNameList);
    EXPECT_EQ(frontEnd.box, u"introduction");
    ASSERT_EQ(frontEnd.reports.size(), 1u);
    EXPECT_EQ(frontEnd.reports[0],
              "Kalvetor: the selected description was not shown: no description at the selected position");
}

}  // namespace
}  // namespace frontend
