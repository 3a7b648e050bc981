// The least a Qt Widgets program does to show a window like Kalvetor's: an
// application and an empty widget with the same fixed 441x362 client area.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(441, 362);
    window.show();
    return QApplication::exec();
}
