// The least a Qt Widgets program does to draw text in a window like
// Kalvetor's: the bare window plus one label with the title in the window's
// font, set as the application's font before any widget exists, as Kalvetor
// does. Kalvetor's start-up and memory are measured against it.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "catalogue/catalogue.h"
#include "window/definition.h"
#include "window/qt/qt_definition.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setFont(windowFont());
    QWidget window;
    window.setFixedSize(logicalPixels(definition::kWindow.clientWidth),
                        logicalPixels(definition::kWindow.clientHeight));
    QLabel label(decoded(catalogue::kTitle), &window);
    label.setGeometry(logicalRect(definition::kTitleLabel.rect));
    window.show();
    return QApplication::exec();
}
