// The disc check as a whole: the folder, its Autorun.inf read as the program
// reads it, then each part of the check in turn.
#include "disccheck/disc_check.h"

#include "disccheck/check_context.h"
#include "projectfile/item_reader.h"
#include "projectfile/letter_case.h"
#include "projectfile/project_reader.h"
#include "projectfile/text_codec.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vidorun {

namespace check {

namespace {

// A project file of 99 movies is some 10 kB; anything near this is no project.
constexpr qint64 MaxProjectFileBytes = 16 * 1024 * 1024;

// What makes the folder no disc root, found before anything below it is
// listed: a whole drive given by mistake is told at once.
QString rootFailure(const QString &root)
{
    const QFileInfo info(root);
    if (!info.exists())
        return QStringLiteral("no such folder");
    if (!info.isDir())
        return QStringLiteral("not a folder");
    if (!info.isReadable())
        return QStringLiteral("the folder can't be read (no permission)");
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        if (fileNameFoldUtf8(it.fileName().toStdString()) == "autorun.inf")
            return {};
    }
    return QStringLiteral("no Autorun.inf on its root, in any letter case: not a Vidorun disc, or not its root");
}

bool readProject(Context &context)
{
    DiscIndex &index = context.index;
    DiscCheckReport &report = context.report;
    // Found as the program finds it at start: "Autorun.inf" in any letter case.
    const int entry = index.find(index.resolve(QStringLiteral("Autorun.inf")));
    if (entry < 0) {
        report.failure = QStringLiteral("no Autorun.inf on its root, in any letter case: not a Vidorun disc, "
                                        "or not its root");
        return false;
    }
    const DiscEntry &found = index.at(entry);
    const int file = index.followed(entry);
    if (found.kind == EntryKind::Link && !found.linkInside) {
        report.failure = QStringLiteral("%1 is %2").arg(found.shownPath(), linkEnd(found));
        return false;
    }
    if (index.at(file).kind != EntryKind::File) {
        report.failure = QStringLiteral("%1 is not a file").arg(found.shownPath());
        return false;
    }
    if (index.at(file).size > MaxProjectFileBytes) {
        report.failure = QStringLiteral("%1 is %2 bytes, far more than any project: not read")
                             .arg(found.shownPath())
                             .arg(index.at(file).size);
        return false;
    }
    QString reason;
    const std::unique_ptr<QFile> opened = openRegularFile(context.absolutePath(file), &reason);
    if (!opened) {
        report.failure = QStringLiteral("%1 can't be read: %2").arg(found.shownPath(), reason);
        return false;
    }
    const QByteArray bytes = opened->read(MaxProjectFileBytes);
    context.markUsed(entry);
    context.markUsed(file);
    const QString linked = linkOnDisc(context, entry, found.shownPath());
    if (!linked.isEmpty())
        context.add(Severity::Error, linked);
    readableByAll(context, file, QString(), nullptr);

    // Counters start at "0", as the program's start-up sets them.
    Project &project = context.project;
    project.TitleCount = project.PathCount = project.CDCount = QStringLiteral("0");
    MemorySource source(bytes.toStdString());
    readProjectItems(source, project);
    context.utf8 = isValidUtf8(bytes);
    context.written = readAutorunText(bytes, context.utf8);
    return true;
}

}  // namespace

Context::Context(const QString &root, const DiscCheckOptions &options)
    : options(options), rootShown(QFileInfo(root).absoluteFilePath()), index(root)
{
}

std::unique_ptr<QFile> openRegularFile(const QString &path, QString *reason)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    struct stat info;
    auto file = std::make_unique<QFile>();
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (reason)
            *reason = QStringLiteral("not a regular file");
        return nullptr;
    }
    return file;
#else
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file->errorString();
        return nullptr;
    }
    return file;
#endif
}

}  // namespace check

DiscCheckReport checkDisc(const QString &root, const DiscCheckOptions &options)
{
    DiscCheckReport early;
    early.failure = check::rootFailure(root);
    if (!early.failure.isEmpty())
        return early;
    check::Context context(root, options);
    DiscCheckReport &report = context.report;
    if (!context.index.at(0).listed)
        report.failure = QStringLiteral("the folder can't be read (no permission)");
    if (!report.failure.isEmpty() || !check::readProject(context))
        return report;

    if (context.written.empty) {
        context.add(Severity::Error, QStringLiteral("Autorun.inf is empty (0 bytes): Vidorun lists no movies, and "
                                                    "Windows offers nothing to start from this disc"));
    } else {
        check::checkCounts(context);
        for (Finding &line : context.written.lineFindings)
            report.findings.push_back(std::move(line));
        check::checkAutorunSection(context);
        check::findThisDisc(context);
        check::checkMovies(context);
        check::checkSettings(context);
    }
    check::checkTree(context);
    check::noteLinuxAutorun(context);
    check::countImage(context);
    // Errors first, then warnings, then notes, each in the order found.
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
    return report;
}

int exitStatus(const DiscCheckReport &report)
{
    if (!report.failure.isEmpty())
        return 2;
    const bool problems = std::any_of(report.findings.begin(), report.findings.end(),
                                      [](const Finding &f) { return f.severity != Severity::Note; });
    return problems ? 1 : 0;
}

}  // namespace vidorun
