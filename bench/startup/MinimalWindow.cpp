// The floor for the program's start-up: a Qt Widgets program that shows one frameless window of
// the main window's size and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(790, 581);
    window.show();
    return QApplication::exec();
}
