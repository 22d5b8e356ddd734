#include "app/startup_probe.h"
#include "app/vidorun_main.h"
#include "platform/warm_up.h"
#include "platform/qt_platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    vidorun::WarmUp warmUp;
    QApplication app(argc, argv);
    warmUp.applicationReady();
    QApplication::setApplicationName(QStringLiteral("Vidorun"));
    QApplication::setApplicationVersion(vidorun::versionText());

    vidorun::RealPlatform platform;
    vidorun::VidorunMain window(platform.platform());
    vidorun::watchFirstFrame(window, [&window] { return !window.coverLoading(); });
    warmUp.wait();
    window.show();
    return QApplication::exec();
}
