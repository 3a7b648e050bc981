#include "window/qt/qt_controls.h"

#include <QPlainTextEdit>
#include <QtDebug>

#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"

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

class DescriptionBox final : public catalogue::TextBox {
public:
    explicit DescriptionBox(QPlainTextEdit& box) : box_(box) {}

    // setPlainText puts the cursor at the start and scrolls to the first line.
    bool replaceText(std::u16string_view text) override {
        box_.setPlainText(toQString(text));
        return true;
    }

private:
    QPlainTextEdit& box_;
};

}  // namespace

QtControls::QtControls(const frontend::DescriptionStore& store, NameList& nameList,
                       QPlainTextEdit& descriptionBox)
    : WindowControls(store), nameList_(nameList), descriptionBox_(descriptionBox) {}

std::unique_ptr<catalogue::ListMember> QtControls::takeNameList() {
    return std::make_unique<NameListMember>(nameList_);
}

std::unique_ptr<catalogue::TextBox> QtControls::takeDescriptionBox() {
    return std::make_unique<DescriptionBox>(descriptionBox_);
}

void QtControls::report(const std::string& line) {
    qWarning().noquote() << QString::fromStdString(line);
}
