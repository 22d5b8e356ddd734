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
    writeAnswer(stderr, QStringLiteral("vidorun: ") + text + QLatin1Char('\n'));
}

// "--check=FOLDER", as GNU programs take an option's value: the option, and
// the folder apart from the other arguments. Nothing after "--" is an option.
std::optional<QString> takeCheckFolder(QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments.at(i) != QLatin1String("--"); ++i) {
        for (const QLatin1String option : {QLatin1String("--check="), QLatin1String("-check=")}) {
            if (arguments.at(i).startsWith(option)) {
                const QString folder = arguments.at(i).mid(option.size());
                arguments[i] = QStringLiteral("--check");
                return folder;
            }
        }
    }
    return std::nullopt;
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
        err << "vidorun: " << folder << ": " << report.failure << Qt::endl;
        return exitStatus(report);
    }
    for (const QString &line : reportLines(versionText(), folder, report))
        out << line << '\n';
    out.flush();
    return exitStatus(report);
}

std::optional<int> runCommandLine(int argc, char *argv[])
{
    QStringList arguments = programArguments(argc, argv);
    const std::optional<QString> checkFolder = takeCheckFolder(arguments);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vidorun shows the movie menu of the disc it is started from: the working folder, or FOLDER."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Qt's own help option would offer --help-all, for Qt options the
    // application object takes and this help does not list.
    const QCommandLineOption help(
#ifdef Q_OS_WIN
        {QStringLiteral("?"), QStringLiteral("h"), QStringLiteral("help")},
#else
        {QStringLiteral("h"), QStringLiteral("help")},
#endif
        QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption check(QStringLiteral("check"),
                                   QStringLiteral("Check the disc folder (--check FOLDER or --check=FOLDER; the "
                                                  "working folder without one) as a viewer would meet it, print "
                                                  "what is wrong and exit: 0 when nothing is, 1 when something is, "
                                                  "2 when it can't be read."));
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
    QStringList folders = parser.positionalArguments();
    if (checkFolder) {
        if (checkFolder->isEmpty()) {
            printError(QStringLiteral("--check= names no folder\nSee vidorun --help."));
            return 2;
        }
        folders.prepend(*checkFolder);
    }
    // Publishing takes one folder, to make the discs in, and says so itself.
    const bool publishing = publishAsked(parser, publish);
    if (folders.size() > 1 && !publishing) {
        printError(QStringLiteral("one disc folder at most, not %1\nSee vidorun --help.").arg(folders.size()));
        return 2;
    }

    if (parser.isSet(help) || parser.isSet(version) || parser.isSet(check) || publishing) {
        // No display, no fonts, no window: the core application only.
        answerOnParentConsole();
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Vidorun"));
        QCoreApplication::setApplicationVersion(versionText());
        if (publishing && !parser.isSet(help) && !parser.isSet(version))
            return runPublishCommand(parser, publish, discCheckOptions());
        QString output, errors;
        QTextStream out(&output);
        QTextStream err(&errors);
        int status = 0;
        if (parser.isSet(help))
            out << parser.helpText();
        else if (parser.isSet(version))
            out << "Vidorun " << versionText() << '\n';
        else
            status = runDiscCheck(folders.isEmpty() ? QStringLiteral(".") : folders.front(), out, err);
        out.flush();
        err.flush();
        writeAnswer(stdout, output);
        writeAnswer(stderr, errors);
        return status;
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
