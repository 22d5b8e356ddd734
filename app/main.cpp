#include "app/startup_probe.h"
#include "app/vidorun_main.h"
#include "platform/qt_platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vidorun"));
    QApplication::setApplicationVersion(vidorun::versionText());

    vidorun::RealPlatform platform;
    vidorun::VidorunMain window(platform.platform());
    vidorun::watchFirstFrame(window, [&window] { return !window.coverLoading(); });
    window.show();
    return QApplication::exec();
}
