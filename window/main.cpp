// Kalvetor starts with its one window and ends when that window is closed.

#include <QApplication>

#include "resources/identity.h"
#include "window/kalvetor.h"
#include "window/startup.h"

int main(int argc, char* argv[]) {
    startup::expectDisplay();
    QApplication application(argc, argv);
    startup::displayReached();

    QApplication::setApplicationName(QStringLiteral(KALVETOR_APPLICATION_NAME));
    QApplication::setApplicationVersion(QStringLiteral(KALVETOR_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KALVETOR_APP_ID));

    Kalvetor window;
    window.show();
    return QApplication::exec();
}
