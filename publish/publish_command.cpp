#include "publish/publish_command.h"

#include "app/vidorun_main.h"
#include "platform/console.h"
#include "platform/console_session.h"
#include "platform/publish_files.h"
#include "publish/publisher.h"
#include "publish/windows_program.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QIODevice>
#include <QStringDecoder>
#include <QTextStream>

#include <cstdio>

namespace vidorun {

namespace {

// A standard stream for a QTextStream, written through at every flush: in
// UTF-16 to a Windows console, so that paths in any script show, and as the
// UTF-8 it is given anywhere else. A letter split between two writes waits
// in the decoder for its end.
class AnswerStream final : public QIODevice {
public:
    explicit AnswerStream(std::FILE *stream) : m_stream(stream) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const QString text = m_decoder.decode(QByteArrayView(data, size));
        if (!text.isEmpty())
            writeAnswer(m_stream, text);
        return size;
    }

private:
    std::FILE *m_stream;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

}  // namespace

PublishOptions addPublishOptions(QCommandLineParser &parser)
{
    PublishOptions options{
        QCommandLineOption(QStringLiteral("publish"),
                           QStringLiteral("Lay out every disc of the project PROJECT (an Autorun.inf, or its "
                                          "folder) ready to burn, in the FOLDER given after it: FOLDER/<LABEL>/ "
                                          "for each CD label, then check each disc. Exit status 0 when every disc "
                                          "was made and checks clean, 1 when a check finds a problem, 2 when a "
                                          "disc could not be made."),
                           QStringLiteral("PROJECT")),
        QCommandLineOption(QStringLiteral("iso"),
                           QStringLiteral("With --publish: also write each disc's image, FOLDER/<LABEL>.iso (ISO "
                                          "9660 with Joliet and Rock Ridge names).")),
        QCommandLineOption(QStringLiteral("force"),
                           QStringLiteral("With --publish: replace discs and images already in FOLDER, once the "
                                          "new ones are complete.")),
        QCommandLineOption(QStringLiteral("quiet"), QStringLiteral("With --publish: print nothing but problems.")),
        QCommandLineOption(QStringLiteral("linux-only"),
                           QStringLiteral("With --publish: discs without Vidorun.exe, for viewers on Linux.")),
    };
    for (const QCommandLineOption *option :
         {&options.publish, &options.iso, &options.force, &options.quiet, &options.linuxOnly})
        parser.addOption(*option);
    return options;
}

bool publishAsked(const QCommandLineParser &parser, const PublishOptions &options)
{
    for (const QCommandLineOption *option :
         {&options.publish, &options.iso, &options.force, &options.quiet, &options.linuxOnly}) {
        if (parser.isSet(*option))
            return true;
    }
    return false;
}

int runPublishCommand(const QCommandLineParser &parser, const PublishOptions &options,
                      const DiscCheckOptions &checkOptions)
{
    AnswerStream output(stdout), errors(stderr);
    QTextStream out(&output), err(&errors);
    const QStringList folders = parser.positionalArguments();
    if (!parser.isSet(options.publish) || folders.size() != 1) {
        err << "vidorun: "
            << (parser.isSet(options.publish) ? QStringLiteral("--publish needs one folder to make the discs in")
                                              : QStringLiteral("--iso, --force, --quiet and --linux-only go with --publish"))
            << ": vidorun --publish PROJECT FOLDER [--iso]\nSee vidorun --help." << Qt::endl;
        return 2;
    }
    if (folders.front().isEmpty() || parser.value(options.publish).isEmpty()) {
        err << "vidorun: "
            << (folders.front().isEmpty() ? QStringLiteral("the folder to make the discs in is an empty name")
                                          : QStringLiteral("the project is an empty name"))
            << ": vidorun --publish PROJECT FOLDER [--iso]" << Qt::endl;
        return 2;
    }
    PublishRequest request;
    request.project = parser.value(options.publish);
    // Absolute from the start: a relative folder would mean another place
    // to anything that changes the working folder, and on Windows a long
    // path needs its absolute form.
    request.outFolder = QDir::cleanPath(QDir::current().absoluteFilePath(folders.front()));
    request.image = parser.isSet(options.iso);
    request.replace = parser.isSet(options.force);
    request.quiet = parser.isSet(options.quiet);
    request.windowsProgram = !parser.isSet(options.linuxOnly);
    request.windowsProgramCandidates = windowsProgramCandidates(QCoreApplication::applicationFilePath());

    const std::unique_ptr<PublishFiles> files = makeNativePublishFiles();
    const InterruptionWatch interruption;
    PublishEnvironment environment{*files, checkOptions, &InterruptionWatch::interrupted,
                                   standardOutputIsTerminal(), terminalColumns(), versionText()};
    return publishProject(request, environment, out, err);
}

}  // namespace vidorun
