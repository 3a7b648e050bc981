// ShowSelectedDescription against a stand-in window that records every step,
// counts what is held, and fails on request.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"
#include "catalogue/selection.h"

namespace catalogue {
namespace {

enum class Step { TakeSource, ReadPosition, TakeBox, TakeStore, ReadItem, ReplaceText };

const char* describeStep(Step step) {
    switch (step) {
        case Step::TakeSource: return "TakeSource";
        case Step::ReadPosition: return "ReadPosition";
        case Step::TakeBox: return "TakeBox";
        case Step::TakeStore: return "TakeStore";
        case Step::ReadItem: return "ReadItem";
        case Step::ReplaceText: return "ReplaceText";
    }
    return "Unknown";
}

class FakeWindow : public Controls {
public:
    FakeWindow() {
        for (int i = 0; i < kEntryCount; ++i) {
            names.push_back(decodeCp1251(kNames[static_cast<std::size_t>(i)]));
            store.push_back(decodeCp1251(kDescriptions[static_cast<std::size_t>(i)]));
        }
    }

    std::vector<std::u16string> names;
    std::vector<std::u16string> store;
    Position nameListSelection = -1;
    Position storeSelection = -1;
    std::u16string box = u"introduction";

    std::optional<Step> failAt;
    std::optional<Step> throwAt;
    int held = 0;
    int replacements = 0;
    std::vector<std::string> log;

    std::unique_ptr<ListMember> takeList1(MemberIndex member) override;
    std::unique_ptr<TextBox> takeText1(MemberIndex member) override;

    // Whether the step fails; a step asked to throw throws here.
    bool fails(Step step) const {
        if (throwAt == step) {
            throw std::runtime_error("control failed");
        }
        return failAt == step;
    }

private:
    int listTakes_ = 0;
};

class FakeList : public ListMember {
public:
    FakeList(FakeWindow& window, MemberIndex member) : window_(window), member_(member) { ++window_.held; }
    ~FakeList() override {
        --window_.held;
        window_.log.push_back("release List1(" + std::to_string(member_) + ")");
    }

    std::optional<Position> selectedPosition() override {
        window_.log.push_back("read position of List1(" + std::to_string(member_) + ")");
        if (window_.fails(Step::ReadPosition)) {
            return std::nullopt;
        }
        return member_ == kNameList ? window_.nameListSelection : window_.storeSelection;
    }

    std::optional<std::u16string> item(Position position) override {
        window_.log.push_back("read item " + std::to_string(position) + " of List1(" +
                              std::to_string(member_) + ")");
        const auto& items = member_ == kNameList ? window_.names : window_.store;
        if (window_.fails(Step::ReadItem) || position < 0 ||
            position >= static_cast<Position>(items.size())) {
            return std::nullopt;
        }
        return items[static_cast<std::size_t>(position)];
    }

private:
    FakeWindow& window_;
    MemberIndex member_;
};

class FakeBox : public TextBox {
public:
    explicit FakeBox(FakeWindow& window) : window_(window) { ++window_.held; }
    ~FakeBox() override {
        --window_.held;
        window_.log.push_back("release Text1(0)");
    }

    bool replaceText(std::u16string_view text) override {
        window_.log.push_back("replace text");
        if (window_.fails(Step::ReplaceText)) {
            return false;
        }
        window_.box = text;
        ++window_.replacements;
        return true;
    }

private:
    FakeWindow& window_;
};

std::unique_ptr<ListMember> FakeWindow::takeList1(MemberIndex member) {
    log.push_back("take List1(" + std::to_string(member) + ")");
    const bool first = listTakes_++ == 0;
    if ((first && fails(Step::TakeSource)) || (!first && fails(Step::TakeStore))) {
        return nullptr;
    }
    return std::make_unique<FakeList>(*this, member);
}

std::unique_ptr<TextBox> FakeWindow::takeText1(MemberIndex member) {
    log.push_back("take Text1(" + std::to_string(member) + ")");
    if (fails(Step::TakeBox) || member != kDescriptionBox) {
        return nullptr;
    }
    return std::make_unique<FakeBox>(*this);
}

TEST(ShowSelectedDescription, ShowsTheDescriptionAtTheSelectedPositionInAnyOrder) {
    FakeWindow window;
    std::vector<Position> order(kEntryCount);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(20261208));
    for (const Position position : order) {
        window.nameListSelection = position;
        EXPECT_EQ(ShowSelectedDescription(window, kNameList), SelectionOutcome::Shown);
        EXPECT_EQ(window.box, window.store[static_cast<std::size_t>(position)]) << "position " << position;
        EXPECT_EQ(window.held, 0);
    }
    EXPECT_EQ(window.replacements, kEntryCount);
}

TEST(ShowSelectedDescription, TakesReadsAndReleasesInItsOrder) {
    FakeWindow window;
    window.nameListSelection = 5;
    EXPECT_EQ(ShowSelectedDescription(window, kNameList), SelectionOutcome::Shown);
    const std::vector<std::string> expected = {
        "take List1(0)",    "read position of List1(0)", "release List1(0)", "take Text1(0)",
        "take List1(1)",    "read item 5 of List1(1)",   "replace text",     "release List1(1)",
        "release Text1(0)",
    };
    EXPECT_EQ(window.log, expected);
}

TEST(ShowSelectedDescription, SetsTheBoxAgainForTheEntryAlreadyShown) {
    FakeWindow window;
    window.nameListSelection = 23;
    EXPECT_EQ(ShowSelectedDescription(window, kNameList), SelectionOutcome::Shown);
    window.box = u"scrolled and edited";
    EXPECT_EQ(ShowSelectedDescription(window, kNameList), SelectionOutcome::Shown);
    EXPECT_EQ(window.box, window.store[23]);
    EXPECT_EQ(window.replacements, 2);
}

TEST(ShowSelectedDescription, ReadsThePositionFromTheMemberThatRaisedTheEvent) {
    FakeWindow window;
    window.nameListSelection = 2;
    window.storeSelection = 9;
    EXPECT_EQ(ShowSelectedDescription(window, kDescriptionStore), SelectionOutcome::Shown);
    EXPECT_EQ(window.box, window.store[9]);
}

struct InjectedFailure {
    Step step;
    SelectionOutcome outcome;
    std::string failedEntry;  // the log entry of the step that fails
};

void PrintTo(const InjectedFailure& failure, std::ostream* out) {
    *out << describeStep(failure.step);
}

// Nothing but releases follows the step that failed.
void expectOnlyReleasesAfter(const std::vector<std::string>& log, const std::string& failedEntry) {
    const auto failed = std::find(log.begin(), log.end(), failedEntry);
    ASSERT_NE(failed, log.end()) << failedEntry;
    EXPECT_TRUE(std::all_of(failed + 1, log.end(),
                            [](const std::string& entry) { return entry.rfind("release", 0) == 0; }));
}

class ShowSelectedDescriptionFailure : public ::testing::TestWithParam<InjectedFailure> {};

TEST_P(ShowSelectedDescriptionFailure, LeavesTheBoxAsItWasAndReleasesWhatItHeld) {
    FakeWindow window;
    window.nameListSelection = 4;
    window.failAt = GetParam().step;
    EXPECT_EQ(ShowSelectedDescription(window, kNameList), GetParam().outcome);
    EXPECT_EQ(window.box, u"introduction");
    EXPECT_EQ(window.replacements, 0);
    EXPECT_EQ(window.held, 0);
    expectOnlyReleasesAfter(window.log, GetParam().failedEntry);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, ShowSelectedDescriptionFailure,
    ::testing::Values(
        InjectedFailure{Step::TakeSource, SelectionOutcome::MemberNotTaken, "take List1(0)"},
        InjectedFailure{Step::ReadPosition, SelectionOutcome::PositionNotRead, "read position of List1(0)"},
        InjectedFailure{Step::TakeBox, SelectionOutcome::BoxNotTaken, "take Text1(0)"},
        InjectedFailure{Step::TakeStore, SelectionOutcome::StoreNotTaken, "take List1(1)"},
        InjectedFailure{Step::ReadItem, SelectionOutcome::ItemNotRead, "read item 4 of List1(1)"},
        InjectedFailure{Step::ReplaceText, SelectionOutcome::TextNotReplaced, "replace text"}),
    [](const ::testing::TestParamInfo<InjectedFailure>& failure) {
        return describeStep(failure.param.step);
    });

TEST_P(ShowSelectedDescriptionFailure, ReportsAnExceptionFromTheStepAsAFailure) {
    FakeWindow window;
    window.nameListSelection = 4;
    window.throwAt = GetParam().step;
    EXPECT_EQ(ShowSelectedDescription(window, kNameList), SelectionOutcome::ControlThrew);
    EXPECT_EQ(window.box, u"introduction");
    EXPECT_EQ(window.replacements, 0);
    EXPECT_EQ(window.held, 0);
    expectOnlyReleasesAfter(window.log, GetParam().failedEntry);
}

TEST(ShowSelectedDescription, RefusesPositionsWithoutADescription) {
    for (const Position position : {-1, -2, kEntryCount, kEntryCount + 1, INT_MIN, INT_MAX}) {
        FakeWindow window;
        window.nameListSelection = position;
        EXPECT_EQ(ShowSelectedDescription(window, kNameList), SelectionOutcome::NoDescriptionAtPosition)
            << position;
        EXPECT_EQ(window.box, u"introduction");
        EXPECT_EQ(window.held, 0);
        EXPECT_EQ(std::count(window.log.begin(), window.log.end(), "take List1(1)"), 0) << position;
    }
}

TEST(ShowSelectedDescription, RefusesMembersThatList1DoesNotHave) {
    for (const MemberIndex member :
         {MemberIndex{2}, MemberIndex{-1}, MemberIndex{SHRT_MAX}, MemberIndex{SHRT_MIN}}) {
        FakeWindow window;
        window.nameListSelection = 3;
        EXPECT_EQ(ShowSelectedDescription(window, member), SelectionOutcome::UnknownMember) << member;
        EXPECT_EQ(window.box, u"introduction");
        EXPECT_TRUE(window.log.empty()) << member;
    }
}

}  // namespace
}  // namespace catalogue
