// Renders the main window and each child window to PNG files, offscreen, on
// a copy of the demo disc, as the Qt front end realises them:
//   vidorun_screenshots <demo folder> <output folder>
// The child windows are those the menu opens; a command whose window does not
// exist yet simply leaves no picture.
#include "app/vidorun_main.h"
#include "support/fake_platform.h"
#include "ui/qt/fonts.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_services.h"
#include "windows/child_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool copyFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    if (!source.exists())
        return false;
    for (const QString &name : source.entryList(QDir::Files)) {
        if (!QFile::copy(source.filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return true;
}

bool save(QWidget *widget, const QDir &output, const QString &name)
{
    const QString file = output.filePath(name + QStringLiteral(".png"));
    const bool saved = widget && widget->grab().save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(QDir::toNativeSeparators(file)));
    return saved;
}

// Handles what comes until `done` holds, for up to five seconds.
void settleUntil(const std::function<bool()> &done)
{
    QElapsedTimer waited;
    waited.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    while (!done() && waited.elapsed() < 5000);
}

// The offscreen platform warns about every window feature it lacks.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreenWarnings);
    QApplication app(argc, argv);
    vidorun::installFontSubstitutes();
    if (argc != 3) {
        std::fprintf(stderr, "usage: vidorun_screenshots <demo folder> <output folder>\n");
        return 2;
    }
    const QString demo = QString::fromLocal8Bit(argv[1]);
    const QDir output(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[2])));
    if (!QDir().mkpath(output.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[2]);
        return 1;
    }

    QTemporaryDir disc;
    if (!disc.isValid() || !copyFolder(demo, disc.path()) || !QDir::setCurrent(disc.path())) {
        std::fprintf(stderr, "cannot copy the demo disc from %s\n", argv[1]);
        return 1;
    }

    // The real front end and its picture loading; the other services record.
    vidorun::ui::qt::QtFrontEnd frontEnd;
    vidorun::ui::qt::QtPictureService pictures(frontEnd);
    vidorun::testing::FakePlatform fake(pictures);
    vidorun::VidorunMain window(fake.platform(), frontEnd);
    window.show();
    settleUntil([&window] { return !window.coverLoading(); });
    QWidget *main = vidorun::ui::qt::windowWidget(window.view());
    bool ok = save(main, output, QStringLiteral("main-window"));

    // Each menu opened under its title, for checking captions, keys and marks.
    QMenuBar *bar = main->findChild<QMenuBar *>();
    for (QMenu *menu : bar->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (menu->objectName().isEmpty())
            continue;  // the menu bar's own overflow menu
        menu->popup(main->mapToGlobal(QPoint(0, 0)));
        QApplication::processEvents();
        ok = save(menu, output, QStringLiteral("menu-") + menu->objectName()) && ok;
        for (QMenu *submenu : menu->findChildren<QMenu *>()) {
            submenu->popup(main->mapToGlobal(QPoint(0, 0)));
            QApplication::processEvents();
            ok = save(submenu, output, QStringLiteral("menu-") + submenu->objectName()) && ok;
            submenu->hide();
        }
        menu->hide();
    }

    for (const char *command : {"ADDMOVIE", "REMOVEMOVIE", "CURRENTSETTINGS", "ABOUTSCREEN"}) {
        auto *action = main->findChild<QAction *>(QLatin1String(command));
        if (!action)
            continue;
        action->trigger();
        QApplication::processEvents();
        if (vidorun::ChildWindow *child = window.openChild()) {
            const QString name = QString::fromUtf8(child->description().name.data(),
                                                   qsizetype(child->description().name.size()));
            ok = save(vidorun::ui::qt::windowWidget(child->view()), output, name) && ok;
            child->unload();
            QApplication::processEvents();
        } else {
            std::printf("%s opens no window yet\n", command);
        }
    }
    return ok ? 0 : 1;
}
