// The bare window with one line of text: the same window as bare_window.cpp
// plus a label in Times New Roman 12 pt. It shows what drawing any text at
// all adds to start-up and memory (font configuration, the font itself,
// shaping and glyph rendering), for reading the start-up and memory figures.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(441, 362);
    window.setFont(QFont(QStringLiteral("Times New Roman"), 12));
    QLabel label(QStringLiteral("Калветор"), &window);
    label.setGeometry(96, 0, 265, 25);
    window.show();
    return QApplication::exec();
}
