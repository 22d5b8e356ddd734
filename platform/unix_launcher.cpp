// Starting programs and documents on Linux and other Unix desktops.
#include "platform/native.h"

#include <QFileInfo>
#include <QProcess>

namespace vidorun {
namespace {

// A relative path is meant in the working folder: handed over as it is, a
// bare program name would be looked for along PATH, and a name starting with
// "-" would read as an option.
QString inWorkingFolder(const QString &path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

class UnixLauncher final : public Launcher {
public:
    LaunchResult openDocument(const QString &path) override
    {
        LaunchResult r;
        r.started = QProcess::startDetached(QStringLiteral("xdg-open"), {inWorkingFolder(path)});
        if (!r.started)
            r.error = QStringLiteral("xdg-open could not be started");
        return r;
    }
    LaunchResult startProgram(const QString &path) override
    {
        LaunchResult r;
        r.started = QProcess::startDetached(inWorkingFolder(path), {});
        if (!r.started)
            r.error = QStringLiteral("the program could not be started");
        return r;
    }
};

}  // namespace

std::unique_ptr<Launcher> makeNativeLauncher() { return std::make_unique<UnixLauncher>(); }

}  // namespace vidorun
