#pragma once

// Selecting an entry: the description box shows the description that sits
// at the selected name's position in the description store.
//
// The operation works on the window through the interfaces below, so it runs
// the same against the real window and against a test double. Every step can
// fail; a failed step ends the operation with the box left as it was.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// 0-based; -1 when nothing is selected.
using Position = int;

// Index of a member of a control array.
using MemberIndex = std::int16_t;

// The two members of the List1 control array.
inline constexpr MemberIndex kNameList = 0;
inline constexpr MemberIndex kDescriptionStore = 1;
// The description box, the one member of the Text1 control array.
inline constexpr MemberIndex kDescriptionBox = 0;

// A member of List1 while it is taken; destroying it releases it.
class ListMember {
public:
    virtual ~ListMember() = default;
    // Nothing on failure.
    virtual std::optional<Position> selectedPosition() = 0;
    // Nothing on failure, including a position that holds no item.
    virtual std::optional<std::u16string> item(Position position) = 0;
};

// The description box, member 0 of Text1, while it is taken; destroying it
// releases it.
class TextBox {
public:
    virtual ~TextBox() = default;
    // Replaces the whole text and shows it from its first line; false on
    // failure, with the old text kept.
    [[nodiscard]] virtual bool replaceText(std::u16string_view text) = 0;
};

// The window's controls as the operation sees them. A null result means the
// member could not be taken.
class Controls {
public:
    virtual ~Controls() = default;
    virtual std::unique_ptr<ListMember> takeList1(MemberIndex member) = 0;
    virtual std::unique_ptr<TextBox> takeText1(MemberIndex member) = 0;
};

enum class [[nodiscard]] SelectionOutcome{
    Shown,
    UnknownMember,  // the event came from a member List1 does not have
    MemberNotTaken,
    PositionNotRead,
    NoDescriptionAtPosition,  // nothing selected, or past the last entry
    BoxNotTaken,
    StoreNotTaken,
    ItemNotRead,
    TextNotReplaced,
    ControlThrew,  // a control operation raised an exception
};

// What an outcome means, in a few English words for the log.
std::string_view describe(SelectionOutcome outcome);

// The one line a front end logs when a selection was not shown.
std::string failureReport(SelectionOutcome outcome);

// Handles the click event of a member of List1: shows in the description box
// the description at the position selected in that member. Sets the box
// again even when the entry is the one already shown.
SelectionOutcome ShowSelectedDescription(Controls& controls, MemberIndex member) noexcept;

}  // namespace catalogue
