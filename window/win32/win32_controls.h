#pragma once

// The name list and the description box as ShowSelectedDescription takes
// them, over the window's LISTBOX and EDIT controls; the description store is
// the shared one. A failed selection is reported as one line of debug output
// (OutputDebugStringW), which a debugger or DebugView shows.

#include <windows.h>

#include <optional>
#include <string>

#include "window/window_controls.h"

namespace kalvetor::win32 {

class Win32Controls final : public frontend::WindowControls {
public:
    Win32Controls(const frontend::DescriptionStore& store, HWND nameList, HWND descriptionBox)
        : WindowControls(store), nameList_(nameList), descriptionBox_(descriptionBox) {}

protected:
    std::unique_ptr<catalogue::ListMember> takeNameList() override;
    std::unique_ptr<catalogue::TextBox> takeDescriptionBox() override;
    void report(const std::string& line) override;

private:
    HWND nameList_;
    HWND descriptionBox_;
};

// The text of a list box's item at a position from 0; none if there is no
// such item.
std::optional<std::u16string> listBoxItem(HWND list, int position);

// Replaces an edit control's whole text and shows it from its first line,
// with the caret at the start and nothing selected.
bool replaceEditText(HWND edit, std::u16string_view text);

// One line of debug output.
void writeDebugLine(const std::string& line);

}  // namespace kalvetor::win32
