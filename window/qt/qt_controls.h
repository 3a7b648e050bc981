#pragma once

// The Qt widgets behind the controls ShowSelectedDescription takes: the
// name list and the description box; the description store is the shared
// one. A failed selection goes to Qt's message log.

#include "window/window_controls.h"

class NameList;
class QPlainTextEdit;

class QtControls final : public frontend::WindowControls {
public:
    QtControls(const frontend::DescriptionStore& store, NameList& nameList, QPlainTextEdit& descriptionBox);

protected:
    std::unique_ptr<catalogue::ListMember> takeNameList() override;
    std::unique_ptr<catalogue::TextBox> takeDescriptionBox() override;
    void report(const std::string& line) override;

private:
    NameList& nameList_;
    QPlainTextEdit& descriptionBox_;
};
