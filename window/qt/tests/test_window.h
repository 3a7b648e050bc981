#pragma once

// The Kalvetor window as the Qt tests open it, and a Qt Test object that
// opens one for each of its test functions.

#include <QObject>
#include <QStringList>
#include <memory>

#include "window/qt/main_window.h"

class NameList;
class QLabel;
class QPlainTextEdit;

// The window shown and active, with the widgets of the definition's
// controls found by their names. Not opening is fatal: no check after it
// could mean anything.
class TestWindow : public Kalvetor {
public:
    TestWindow();

    NameList* list() const;
    QPlainTextEdit* box() const;
    QLabel* label() const;
};

// The warnings on Qt's message log while one of these lives.
class WarningLog {
public:
    WarningLog();
    ~WarningLog();
    WarningLog(const WarningLog&) = delete;
    WarningLog& operator=(const WarningLog&) = delete;

    static QStringList& lines();

private:
    QtMessageHandler previous_;
};

// Each test function of a subclass runs on a window of its own, opened in
// init() after the application is set up as the program sets it up.
class WindowTest : public QObject {
    Q_OBJECT

protected:
    TestWindow& window() const { return *window_; }
    NameList* list() const { return window_->list(); }
    QPlainTextEdit* box() const { return window_->box(); }
    QLabel* label() const { return window_->label(); }
    // What a subclass does to each window once it is open.
    virtual void opened() {}

private slots:
    void initTestCase();
    void init();
    void cleanup();

private:
    std::unique_ptr<TestWindow> window_;
};
