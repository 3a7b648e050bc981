#pragma once

// The program's one window, Kalvetor: the title label, the name list and the
// description box, laid out by kalvetor.ui and filled from the catalogue.
// Each choice of a name runs ShowSelectedDescription on the window's
// controls; a failure leaves the box as it was and goes to Qt's message log.

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class Kalvetor;
}
class WindowControls;

class Kalvetor : public QWidget {
    Q_OBJECT

public:
    explicit Kalvetor(QWidget* parent = nullptr);
    ~Kalvetor() override;

private:
    void fillFromCatalogue();
    void setFixedFrameCentredOnScreen();
    void showSelectedDescription();

    std::unique_ptr<Ui::Kalvetor> ui_;
    // List1 member 1: the descriptions, paired with the names by position.
    std::vector<std::u16string> descriptionStore_;
    std::unique_ptr<WindowControls> controls_;
};
