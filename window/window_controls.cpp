#include "window/window_controls.h"

#include "catalogue/catalogue.h"
#include "catalogue/cp1251.h"

namespace frontend {
namespace {

using catalogue::Position;

class StoreMember final : public catalogue::ListMember {
public:
    explicit StoreMember(const DescriptionStore& store) : store_(store) {}

    std::optional<Position> selectedPosition() override { return -1; }
    std::optional<std::u16string> item(Position position) override { return store_.item(position); }

private:
    const DescriptionStore& store_;
};

}  // namespace

DescriptionStore::DescriptionStore() {
    items_.reserve(catalogue::kDescriptions.size());
    for (const std::string_view description : catalogue::kDescriptions) {
        items_.push_back(catalogue::decodeCp1251(description));
    }
}

std::optional<std::u16string> DescriptionStore::item(Position position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= items_.size()) {
        return std::nullopt;
    }
    return items_[static_cast<std::size_t>(position)];
}

std::unique_ptr<catalogue::ListMember> WindowControls::takeList1(catalogue::MemberIndex member) {
    switch (member) {
        case catalogue::kNameList: return takeNameList();
        case catalogue::kDescriptionStore: return std::make_unique<StoreMember>(store_);
        default: return nullptr;
    }
}

std::unique_ptr<catalogue::TextBox> WindowControls::takeText1(catalogue::MemberIndex member) {
    return member == catalogue::kDescriptionBox ? takeDescriptionBox() : nullptr;
}

void WindowControls::showSelectedDescription(catalogue::MemberIndex member) {
    const catalogue::SelectionOutcome outcome = catalogue::ShowSelectedDescription(*this, member);
    if (outcome != catalogue::SelectionOutcome::Shown) {
        report(catalogue::failureReport(outcome));
    }
}

}  // namespace frontend
