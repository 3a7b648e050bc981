#pragma once

// The window's controls as ShowSelectedDescription takes them, for every
// front end: List1 member 1, the description store, is a plain list of
// strings the window owns, the same everywhere; a front end supplies only
// the name list (List1 member 0) and the description box (Text1 member 0)
// over its own widgets or native controls.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/selection.h"

namespace frontend {

// The 24 descriptions, decoded once, at the positions of the names they
// describe. Never shown, so nothing in it is ever selected.
class DescriptionStore {
public:
    DescriptionStore();

    std::optional<std::u16string> item(catalogue::Position position) const;

private:
    std::vector<std::u16string> items_;
};

class WindowControls : public catalogue::Controls {
public:
    explicit WindowControls(const DescriptionStore& store) : store_(store) {}

    std::unique_ptr<catalogue::ListMember> takeList1(catalogue::MemberIndex member) final;
    std::unique_ptr<catalogue::TextBox> takeText1(catalogue::MemberIndex member) final;

    // Runs the selection for an event raised by a member of List1; a failed
    // one is reported through report() and leaves the box as it was.
    void showSelectedDescription(catalogue::MemberIndex member);

protected:
    virtual std::unique_ptr<catalogue::ListMember> takeNameList() = 0;
    virtual std::unique_ptr<catalogue::TextBox> takeDescriptionBox() = 0;
    // Writes one line to the platform's log for developers.
    virtual void report(const std::string& line) = 0;

private:
    const DescriptionStore& store_;
};

}  // namespace frontend
