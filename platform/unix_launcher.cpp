// Starting programs and documents on Linux and other Unix desktops.
#include "platform/native.h"
#include "platform/unix_spawn.h"

#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace vidorun {
namespace {

LaunchResult launchResult(const posix::SpawnResult &spawned)
{
    return LaunchResult{spawned.started, QString::fromLocal8Bit(spawned.error.c_str())};
}

class UnixLauncher final : public Launcher {
public:
    // xdg-open finds the desktop's player for the file; it is started
    // directly with the file as its one argument.
    LaunchResult openDocument(const QString &path) override
    {
        const std::string opener = posix::findProgram("xdg-open", std::getenv("PATH"));
        if (opener.empty())
            return {false, QStringLiteral("xdg-open, which opens files with their program, is not installed.")};
        // Absolute, so that a name beginning with "-" is never taken for an
        // option and a player already running elsewhere finds the file.
        const QString absolute = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
        return launchResult(posix::startDetached(opener, {QFile::encodeName(absolute).toStdString()}));
    }

    // The path is the program itself, never looked up and never a command.
    LaunchResult startProgram(const QString &path) override
    {
        return launchResult(posix::startDetached(QFile::encodeName(path).toStdString(), {}));
    }
};

}  // namespace

std::unique_ptr<Launcher> makeNativeLauncher() { return std::make_unique<UnixLauncher>(); }

}  // namespace vidorun
