// Services of Linux and other Unix desktops. (Placeholder implementations,
// replaced subsystem by subsystem.)
#include "platform/native.h"

#include <QFile>
#include <QFileInfo>
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

class UnixMediaControl final : public MediaControl {
public:
    int sendString(const std::string &) override { return 0; }
};

class UnixSystemInfo final : public SystemInfo {
public:
    int platformId() override { return 0; }
};

class UnixFileSystem final : public FileSystem {
public:
    bool fileExists(const QString &path) override
    {
        if (path.isEmpty())
            return false;
        const QFileInfo info(path);
        if (!info.isFile())
            return false;
        QFile f(path);
        return f.open(QIODevice::ReadOnly);
    }
    QString resolve(const QString &path) override { return path; }
};

}  // namespace

std::unique_ptr<Launcher> makeNativeLauncher() { return std::make_unique<UnixLauncher>(); }
std::unique_ptr<MediaControl> makeNativeMediaControl() { return std::make_unique<UnixMediaControl>(); }
std::unique_ptr<SystemInfo> makeNativeSystemInfo() { return std::make_unique<UnixSystemInfo>(); }
std::unique_ptr<FileSystem> makeNativeFileSystem() { return std::make_unique<UnixFileSystem>(); }

}  // namespace vidorun
