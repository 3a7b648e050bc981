#include "window/win32/win32_controls.h"

#include <optional>
#include <vector>

#include "window/win32/text.h"

namespace kalvetor::win32 {
namespace {

using catalogue::Position;

class NameListMember final : public catalogue::ListMember {
public:
    explicit NameListMember(HWND list) : list_(list) {}

    std::optional<Position> selectedPosition() override {
        if (!IsWindow(list_)) {
            return std::nullopt;
        }
        // LB_ERR (-1) is also what a single-selection list says when nothing
        // is selected.
        const LRESULT selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
        return selected < 0 ? -1 : static_cast<Position>(selected);
    }

    std::optional<std::u16string> item(Position position) override { return listBoxItem(list_, position); }

private:
    HWND list_;
};

class DescriptionBox final : public catalogue::TextBox {
public:
    explicit DescriptionBox(HWND edit) : edit_(edit) {}

    bool replaceText(std::u16string_view text) override { return replaceEditText(edit_, text); }

private:
    HWND edit_;
};

}  // namespace

std::optional<std::u16string> listBoxItem(HWND list, int position) {
    if (!IsWindow(list) || position < 0) {
        return std::nullopt;
    }
    const WPARAM index = static_cast<WPARAM>(position);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length < 0) {  // LB_ERR: no such item
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    if (copied < 0) {
        return std::nullopt;
    }
    return fromWide(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
}

bool replaceEditText(HWND edit, std::u16string_view text) {
    const std::wstring shown = toWide(withCrLf(text));
    if (!SetWindowTextW(edit, shown.c_str())) {
        return false;
    }
    // From the first line, whatever was scrolled before.
    SendMessageW(edit, EM_SETSEL, 0, 0);
    const LRESULT firstVisible = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (firstVisible > 0) {
        SendMessageW(edit, EM_LINESCROLL, 0, -firstVisible);
    }
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    return true;
}

void writeDebugLine(const std::string& line) {
    const std::wstring wide = widenUtf8(line) + L"\n";
    OutputDebugStringW(wide.c_str());
}

std::unique_ptr<catalogue::ListMember> Win32Controls::takeNameList() {
    if (!IsWindow(nameList_)) {
        return nullptr;
    }
    return std::make_unique<NameListMember>(nameList_);
}

std::unique_ptr<catalogue::TextBox> Win32Controls::takeDescriptionBox() {
    if (!IsWindow(descriptionBox_)) {
        return nullptr;
    }
    return std::make_unique<DescriptionBox>(descriptionBox_);
}

void Win32Controls::report(const std::string& line) {
    writeDebugLine(line);
}

}  // namespace kalvetor::win32
