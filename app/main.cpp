#include "app/fonts.h"
#include "app/vidorun_main.h"
#include "platform/qt_platform.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vidorun"));
    QApplication::setApplicationVersion(vidorun::versionText());
    vidorun::installFontSubstitutes();

    vidorun::RealPlatform platform;
    vidorun::VidorunMain window(platform.platform());
    // The menu opens in the middle of the screen the program was started on.
    window.adjustSize();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    // Where no window manager hands out the focus, take it, so the keys reach
    // the movie list at once.
    window.activateWindow();
    return QApplication::exec();
}
