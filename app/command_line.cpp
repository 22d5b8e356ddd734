#include "app/command_line.h"

#include "app/vidorun_main.h"
#include "disccheck/disc_check.h"
#include "platform/console.h"
#include "platform/qt_platform.h"
#include "publish/publish_command.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTextStream>

#include <cstdio>

namespace vidorun {

namespace {

// The picture formats are the program's own: the image plugins it shows the
// cover with. Only the header is read; one that does not tell the picture's
// size is taken for no picture, as every format the program shows does.
std::optional<PictureHeader> readPictureHeader(QIODevice &file)
{
    QImageReader reader(&file);
    if (!reader.canRead())
        return std::nullopt;
    const QSize size = reader.size();
    if (!size.isValid())
        return std::nullopt;
    return PictureHeader{reader.format(), size};
}

// Options every Qt window program takes, which QApplication reads from the
// arguments itself.
void acceptQtOptions(QCommandLineParser &parser)
{
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "qwindowtitle", "qwindowicon", "style", "stylesheet", "session", "display",
                             "geometry"}) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option{QString::fromLatin1(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

void printError(const QString &text)
{
    answerOnParentConsole();
    std::fputs(qPrintable(QStringLiteral("vidorun: ") + text + QLatin1Char('\n')), stderr);
}

}  // namespace

DiscCheckOptions discCheckOptions()
{
    DiscCheckOptions options;
    options.probePicture = readPictureHeader;
    options.maxPicturePixels = QtPictureLoader::MaxPicturePixels;
    return options;
}

int runDiscCheck(const QString &folder, QTextStream &out, QTextStream &err)
{
    const DiscCheckReport report = checkDisc(folder, discCheckOptions());
    if (!report.failure.isEmpty()) {
        err << "vidorun --check: " << folder << ": " << report.failure << Qt::endl;
        return exitStatus(report);
    }
    for (const QString &line : reportLines(versionText(), folder, report))
        out << line << '\n';
    out.flush();
    return exitStatus(report);
}

std::optional<int> runCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vidorun shows the movie menu of the disc it is started from: the working folder, or FOLDER."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption check(QStringLiteral("check"),
                                   QStringLiteral("Check the disc folder (the working folder without FOLDER) as a "
                                                  "viewer would meet it, print what is wrong and exit: 0 when "
                                                  "nothing is, 1 when something is, 2 when it can't be read."));
    parser.addOption(check);
    const PublishOptions publish = addPublishOptions(parser);
    acceptQtOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("The disc's root folder, holding its Autorun.inf."),
                                 QStringLiteral("[FOLDER]"));
    if (!parser.parse(arguments)) {
        printError(parser.errorText() + QStringLiteral("\nSee vidorun --help."));
        return 2;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        printError(QStringLiteral("one disc folder at most, not %1\nSee vidorun --help.").arg(folders.size()));
        return 2;
    }

    const bool helpAsked = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    const bool publishing = publishAsked(parser, publish);
    if (helpAsked || parser.isSet(version) || parser.isSet(check) || publishing) {
        // No display, no fonts, no window: the core application only.
        answerOnParentConsole();
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Vidorun"));
        QCoreApplication::setApplicationVersion(versionText());
        if (publishing && !helpAsked && !parser.isSet(version))
            return runPublishCommand(parser, publish, discCheckOptions());
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (helpAsked) {
            out << parser.helpText();
            return 0;
        }
        if (parser.isSet(version)) {
            out << "Vidorun " << versionText() << '\n';
            return 0;
        }
        return runDiscCheck(folders.isEmpty() ? QStringLiteral(".") : folders.front(), out, err);
    }

    if (folders.isEmpty())
        return std::nullopt;
    // The program reads Autorun.inf and looks for the markers in its working
    // folder; started in the disc's folder, it is started from the disc.
    const QString &folder = folders.front();
    const QFileInfo info(folder);
    if (!info.exists()) {
        printError(QStringLiteral("%1: no such folder").arg(folder));
        return 2;
    }
    if (!info.isDir()) {
        printError(QStringLiteral("%1 is not a folder: give the disc's folder").arg(folder));
        return 2;
    }
    if (!QDir::setCurrent(folder)) {
        printError(QStringLiteral("%1: the folder can't be opened").arg(folder));
        return 2;
    }
    return std::nullopt;
}

}  // namespace vidorun
