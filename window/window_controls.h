#pragma once

// The window's real controls behind the interfaces ShowSelectedDescription
// works on: List1 member 0 is the name list, member 1 the description store
// (a plain list of strings the window owns), and Text1 member 0 the
// description box.

#include <string>
#include <vector>

#include "catalogue/selection.h"

class NameList;
class QPlainTextEdit;

class WindowControls final : public catalogue::Controls {
public:
    WindowControls(NameList& nameList, const std::vector<std::u16string>& descriptionStore,
                   QPlainTextEdit& descriptionBox);

    std::unique_ptr<catalogue::ListMember> takeList1(catalogue::MemberIndex member) override;
    std::unique_ptr<catalogue::TextBox> takeText1(catalogue::MemberIndex member) override;

private:
    NameList& nameList_;
    const std::vector<std::u16string>& descriptionStore_;
    QPlainTextEdit& descriptionBox_;
};
