#include "app/command_line.h"
#include "app/fonts.h"
#include "app/startup_probe.h"
#include "app/vidorun_main.h"
#include "platform/warm_up.h"
#include "platform/qt_platform.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    // Arguments first: a disc check needs no display, and a disc folder
    // becomes the working folder before the window reads it. Without
    // arguments the start-up goes on at once.
    if (argc > 1) {
        if (const std::optional<int> status = vidorun::runCommandLine(argc, argv))
            return *status;
    }
    vidorun::WarmUp warmUp;
    QApplication app(argc, argv);
    warmUp.applicationReady();
    QApplication::setApplicationName(QStringLiteral("Vidorun"));
    QApplication::setApplicationVersion(vidorun::versionText());
    vidorun::installFontSubstitutes();

    vidorun::RealPlatform platform;
    vidorun::VidorunMain window(platform.platform());
    // The menu opens in the middle of the screen the program was started on.
    window.adjustSize();
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    vidorun::watchFirstFrame(window, [&window] { return !window.coverLoading(); });
    warmUp.wait();
    window.show();
    // Where no window manager hands out the focus, take it, so the keys reach
    // the movie list at once.
    window.activateWindow();
    return QApplication::exec();
}
