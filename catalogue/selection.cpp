#include "catalogue/selection.h"

#include "catalogue/catalogue.h"

namespace catalogue {
namespace {

SelectionOutcome showSelected(Controls& controls, MemberIndex member) {
    if (member != kNameList && member != kDescriptionStore) {
        return SelectionOutcome::UnknownMember;
    }

    Position position = -1;
    {
        const std::unique_ptr<ListMember> source = controls.takeList1(member);
        if (!source) {
            return SelectionOutcome::MemberNotTaken;
        }
        const std::optional<Position> selected = source->selectedPosition();
        if (!selected) {
            return SelectionOutcome::PositionNotRead;
        }
        position = *selected;
    }
    if (position < 0 || position >= kEntryCount) {
        return SelectionOutcome::NoDescriptionAtPosition;
    }

    const std::unique_ptr<TextBox> box = controls.takeText1(kDescriptionBox);
    if (!box) {
        return SelectionOutcome::BoxNotTaken;
    }
    const std::unique_ptr<ListMember> store = controls.takeList1(kDescriptionStore);
    if (!store) {
        return SelectionOutcome::StoreNotTaken;
    }
    // The same position on the store: pairing by position is what makes this
    // the selected name's description.
    const std::optional<std::u16string> description = store->item(position);
    if (!description) {
        return SelectionOutcome::ItemNotRead;
    }
    if (!box->replaceText(*description)) {
        return SelectionOutcome::TextNotReplaced;
    }
    return SelectionOutcome::Shown;
}

}  // namespace

std::string_view describe(SelectionOutcome outcome) {
    switch (outcome) {
        case SelectionOutcome::Shown: return "description shown";
        case SelectionOutcome::UnknownMember: return "the event came from an unknown list member";
        case SelectionOutcome::MemberNotTaken: return "the list that raised the event could not be taken";
        case SelectionOutcome::PositionNotRead: return "the selected position could not be read";
        case SelectionOutcome::NoDescriptionAtPosition: return "no description at the selected position";
        case SelectionOutcome::BoxNotTaken: return "the description box could not be taken";
        case SelectionOutcome::StoreNotTaken: return "the description store could not be taken";
        case SelectionOutcome::ItemNotRead: return "the description could not be read";
        case SelectionOutcome::TextNotReplaced: return "the description box text could not be replaced";
        case SelectionOutcome::ControlThrew: return "a control raised an exception";
    }
    return "unknown outcome";
}

std::string failureReport(SelectionOutcome outcome) {
    return "Kalvetor: the selected description was not shown: " + std::string(describe(outcome));
}

SelectionOutcome ShowSelectedDescription(Controls& controls, MemberIndex member) noexcept {
    // Whatever is held is released on the way out, by the handles' destructors.
    try {
        return showSelected(controls, member);
    } catch (...) {
        return SelectionOutcome::ControlThrew;
    }
}

}  // namespace catalogue
