// The fairer yardstick for the program's start-up: a Qt program that shows a
// window with a menu bar and one line of text, so that the font machinery,
// which every program with words pays for, counts on both sides. Its size is
// given as arguments, like the bare window's; the first-frame probe reports
// as in the program.
#include "ui/qt/startup_probe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+X")), &window, &QWidget::close);
    auto *text = new QLabel(QStringLiteral("Total number of movies: 3"), &window);
    window.setCentralWidget(text);
    const int width = argc > 2 ? std::atoi(argv[1]) : 586;
    const int height = argc > 2 ? std::atoi(argv[2]) : 364;
    window.resize(width, height);
    vidorun::watchFirstFrame(window);
    window.show();
    return QApplication::exec();
}
