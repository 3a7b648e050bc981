#include "window/qt/tests/test_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "window/definition.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"
#include "window/qt/startup.h"

TestWindow::TestWindow() {
    show();
    activateWindow();
    if (!QTest::qWaitForWindowActive(this, 10'000)) {
        qFatal("the window did not become active within 10 s");
    }
    if (list() == nullptr || box() == nullptr || label() == nullptr) {
        qFatal("the window lacks a control of the definition");
    }
}

NameList* TestWindow::list() const {
    return findChild<NameList*>(widgetName(definition::kNameList));
}

QPlainTextEdit* TestWindow::box() const {
    return findChild<QPlainTextEdit*>(widgetName(definition::kDescriptionBox));
}

QLabel* TestWindow::label() const {
    return findChild<QLabel*>(widgetName(definition::kTitleLabel));
}

WarningLog::WarningLog() {
    lines().clear();
    previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtWarningMsg) {
            lines().append(message);
        }
    });
}

WarningLog::~WarningLog() {
    qInstallMessageHandler(previous_);
}

QStringList& WarningLog::lines() {
    static QStringList recorded;
    return recorded;
}

void WindowTest::initTestCase() {
    startup::configureApplication();
}

void WindowTest::init() {
    window_ = std::make_unique<TestWindow>();
    opened();
}

void WindowTest::cleanup() {
    window_.reset();
}
