// Kalvetor starts with its one window and ends when that window is closed.

#include <QApplication>

#include "window/qt/main_window.h"
#include "window/qt/startup.h"

int main(int argc, char* argv[]) {
    startup::useUtf8InTheCLocale();
    startup::expectDisplay();
    QApplication application(argc, argv);
    startup::displayReached();

    startup::configureApplication();
    Kalvetor window;
    window.show();
    return QApplication::exec();
}
