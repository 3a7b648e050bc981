#pragma once

// The Kalvetor window as every Qt test opens it: shown and active, with the
// widgets of the definition's controls found by their names. Not opening is
// fatal: no check after it could mean anything.

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "window/definition.h"
#include "window/qt/main_window.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"

class TestWindow : public Kalvetor {
public:
    TestWindow() {
        show();
        activateWindow();
        if (!QTest::qWaitForWindowActive(this, 10'000)) {
            qFatal("the window did not become active within 10 s");
        }
        if (list() == nullptr || box() == nullptr || label() == nullptr) {
            qFatal("the window lacks a control of the definition");
        }
    }

    NameList* list() const { return findChild<NameList*>(widgetName(definition::kNameList)); }
    QPlainTextEdit* box() const {
        return findChild<QPlainTextEdit*>(widgetName(definition::kDescriptionBox));
    }
    QLabel* label() const { return findChild<QLabel*>(widgetName(definition::kTitleLabel)); }
};
