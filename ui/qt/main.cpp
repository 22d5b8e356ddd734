// vidorun: the program on Linux, its windows Qt widgets.
#include "app/command_line.h"
#include "app/vidorun_main.h"
#include "ui/qt/fonts.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_services.h"
#include "ui/qt/startup_probe.h"
#include "ui/qt/warm_up.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QWidget>

namespace {

// Each start is logged as "START <path>" / "CMD /C <path>" when this category
// is switched on (QT_LOGGING_RULES="vidorun.playback.info=true").
Q_LOGGING_CATEGORY(lcPlayback, "vidorun.playback", QtWarningMsg)

}  // namespace

int main(int argc, char *argv[])
{
    // Arguments first: a disc check needs no display, and a disc folder
    // becomes the working folder before the window reads it. Without
    // arguments the start-up goes on at once.
    if (argc > 1) {
        if (const std::optional<int> status = vidorun::runCommandLine(argc, argv))
            return *status;
    }
    using namespace vidorun;
    WarmUp warmUp;
    QApplication app(argc, argv);
    warmUp.applicationReady();
    QApplication::setApplicationName(QStringLiteral("Vidorun"));
    QApplication::setApplicationVersion(QString::fromStdString(versionText()));
    installFontSubstitutes();

    ui::qt::QtFrontEnd frontEnd;
    ui::qt::QtPlatform platform(frontEnd);
    VidorunMain window(platform.platform(), frontEnd);
    window.setStartLog([](const std::string &start) { qCInfo(lcPlayback).noquote() << QString::fromStdString(start); });
    watchFirstFrame(*ui::qt::windowWidget(window.view()), [&window] { return !window.coverLoading(); });
    warmUp.wait();
    window.show();
    return QApplication::exec();
}
