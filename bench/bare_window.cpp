// The least a Qt Widgets program does to show a window like Kalvetor's: an
// application and an empty widget with the same fixed client area.

#include <QApplication>
#include <QWidget>

#include "window/definition.h"
#include "window/qt/qt_definition.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(logicalPixels(definition::kWindow.clientWidth),
                        logicalPixels(definition::kWindow.clientHeight));
    window.show();
    return QApplication::exec();
}
