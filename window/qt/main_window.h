#pragma once

// The program's one window, Kalvetor, on Qt Widgets: built from the window
// definition, control by control in its creation order, and filled from the
// catalogue. Each choice of a name runs ShowSelectedDescription on the
// window's controls; a failure leaves the box as it was and goes to Qt's
// message log.

#include <QWidget>
#include <memory>

#include "window/window_controls.h"

class NameList;
class QLabel;
class QPlainTextEdit;
class QtControls;

class Kalvetor : public QWidget {
    Q_OBJECT

public:
    explicit Kalvetor(QWidget* parent = nullptr);
    ~Kalvetor() override;

protected:
    bool event(QEvent* event) override;

private:
    void setUpWindow();
    void createControls();
    void fillFromCatalogue();
    // The window's and the label's colours under the application's palette.
    void applyColours();
    void showSelectedDescription();

    // The controls of the definition that are widgets; the description
    // store is a plain list the window owns.
    QLabel* label_ = nullptr;
    NameList* nameList_ = nullptr;
    QPlainTextEdit* descriptionBox_ = nullptr;
    frontend::DescriptionStore descriptionStore_;
    std::unique_ptr<QtControls> controls_;
};
