// Starting programs and documents on Linux and other Unix desktops, through
// QProcess: no shell, the arguments handed over exactly as given, and the
// program detached (a session of its own, not our child).
#include "platform/native.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace vidorun {
namespace {

// Qt 6.4's QProcess hands the program every descriptor that is not marked
// close-on-exec (measured: one opened without O_CLOEXEC reached xdg-open);
// only Qt 6.6 can close them for us. So they are all marked first. The
// program itself never runs another program with descriptors of its own.
void keepDescriptorsToOurselves()
{
#if defined(CLOSE_RANGE_CLOEXEC)
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
#endif
    // Kernels before 5.11, and other systems: one by one.
    DIR *open = ::opendir("/proc/self/fd");
    if (!open)
        open = ::opendir("/dev/fd");
    if (!open)
        return;
    while (const dirent *entry = ::readdir(open)) {
        const int fd = std::atoi(entry->d_name);
        if (fd < 3 || fd == ::dirfd(open))
            continue;
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0)
            ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
    ::closedir(open);
}

// Starts `program` with `arguments` and reports a failure with the system's
// reason, after the program's name as the viewer knows it.
LaunchResult startDetached(const QString &program, const QStringList &arguments, const QString &shownName)
{
    keepDescriptorsToOurselves();
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (process.startDetached())
        return {true, QString()};
    // Qt puts the failed call before the system's words ("execv: Permission
    // denied"); the viewer only needs the words.
    QString reason = process.errorString();
    if (reason.startsWith(QLatin1String("execv: ")))
        reason.remove(0, 7);
    return {false, shownName + QStringLiteral(": ") + reason};
}

class UnixLauncher final : public Launcher {
public:
    // xdg-open finds the desktop's player for the file; it is started
    // directly with the file as its one argument.
    LaunchResult openDocument(const QString &path) override
    {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return {false, QStringLiteral("xdg-open, which opens files with their program, is not installed.")};
        // Absolute, so that a name beginning with "-" is never taken for an
        // option and a player already running elsewhere finds the file.
        const QString absolute = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
        return startDetached(opener, {absolute}, opener);
    }

    // The path is the program itself, never looked up on the search path
    // (QProcess would look up a bare name) and never a command.
    LaunchResult startProgram(const QString &path) override
    {
        const QString program = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
        return startDetached(program, {}, path);
    }
};

}  // namespace

std::unique_ptr<Launcher> makeNativeLauncher() { return std::make_unique<UnixLauncher>(); }

}  // namespace vidorun
