// The yardstick for the program's start-up: a Qt program that shows an empty
// window and nothing else. Its size is given as arguments (the harness passes
// the main window's size); the first-frame probe reports as in the program.
#include "ui/qt/startup_probe.h"

#include <QApplication>
#include <QWidget>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    const int width = argc > 2 ? std::atoi(argv[1]) : 586;
    const int height = argc > 2 ? std::atoi(argv[2]) : 346;
    window.resize(width, height);
    vidorun::watchFirstFrame(window);
    window.show();
    return QApplication::exec();
}
