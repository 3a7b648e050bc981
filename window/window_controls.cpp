#include "window/window_controls.h"

#include <QPlainTextEdit>

#include "window/name_list.h"

namespace {

using catalogue::Position;

class NameListMember final : public catalogue::ListMember {
public:
    explicit NameListMember(NameList& list) : list_(list) {}

    std::optional<Position> selectedPosition() override { return list_.selectedRow(); }

    std::optional<std::u16string> item(Position position) override {
        const QListWidgetItem* found = list_.item(position);
        if (found == nullptr) {
            return std::nullopt;
        }
        return found->text().toStdU16String();
    }

private:
    NameList& list_;
};

class DescriptionStoreMember final : public catalogue::ListMember {
public:
    explicit DescriptionStoreMember(const std::vector<std::u16string>& store) : store_(store) {}

    // The store is never shown, so nothing in it is ever selected.
    std::optional<Position> selectedPosition() override { return -1; }

    std::optional<std::u16string> item(Position position) override {
        if (position < 0 || static_cast<std::size_t>(position) >= store_.size()) {
            return std::nullopt;
        }
        return store_[static_cast<std::size_t>(position)];
    }

private:
    const std::vector<std::u16string>& store_;
};

class DescriptionBox final : public catalogue::TextBox {
public:
    explicit DescriptionBox(QPlainTextEdit& box) : box_(box) {}

    // setPlainText puts the cursor at the start and scrolls to the first line.
    bool replaceText(std::u16string_view text) override {
        box_.setPlainText(QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size())));
        return true;
    }

private:
    QPlainTextEdit& box_;
};

}  // namespace

WindowControls::WindowControls(NameList& nameList, const std::vector<std::u16string>& descriptionStore,
                               QPlainTextEdit& descriptionBox)
    : nameList_(nameList), descriptionStore_(descriptionStore), descriptionBox_(descriptionBox) {}

std::unique_ptr<catalogue::ListMember> WindowControls::takeList1(catalogue::MemberIndex member) {
    switch (member) {
        case catalogue::kNameList: return std::make_unique<NameListMember>(nameList_);
        case catalogue::kDescriptionStore: return std::make_unique<DescriptionStoreMember>(descriptionStore_);
        default: return nullptr;
    }
}

std::unique_ptr<catalogue::TextBox> WindowControls::takeText1(catalogue::MemberIndex member) {
    if (member != 0) {
        return nullptr;
    }
    return std::make_unique<DescriptionBox>(descriptionBox_);
}
