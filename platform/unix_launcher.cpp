// Starting programs and documents on Linux and other Unix desktops.
#include "platform/native.h"

#include <QProcess>

namespace vidorun {
namespace {

class UnixLauncher final : public Launcher {
public:
    LaunchResult openDocument(const QString &path) override
    {
        LaunchResult r;
        r.started = QProcess::startDetached(QStringLiteral("xdg-open"), {path});
        if (!r.started)
            r.error = QStringLiteral("xdg-open could not be started");
        return r;
    }
    LaunchResult startProgram(const QString &path) override
    {
        LaunchResult r;
        r.started = QProcess::startDetached(path, {});
        if (!r.started)
            r.error = QStringLiteral("the program could not be started");
        return r;
    }
};

}  // namespace

std::unique_ptr<Launcher> makeNativeLauncher() { return std::make_unique<UnixLauncher>(); }

}  // namespace vidorun
