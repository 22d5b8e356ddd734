// The Windows services behind the platform interfaces: a thin adaptor from
// Qt's texts to the plain Win32 layer in windows_services.h.
#include "platform/native.h"
#include "platform/windows_services.h"

#include <QDir>
#include <QWidget>

namespace vidorun {
namespace {

LaunchResult launchResult(const win32::StartResult &started)
{
    return LaunchResult{started.started, QString::fromStdWString(started.error)};
}

class WindowsLauncher final : public Launcher {
public:
    LaunchResult openDocument(const QString &path) override
    {
        return launchResult(win32::openDocumentMinimized(QDir::toNativeSeparators(path).toStdWString()));
    }
    LaunchResult startProgram(const QString &path) override
    {
        return launchResult(win32::startProgram(QDir::toNativeSeparators(path).toStdWString()));
    }
};

class WindowsMediaControl final : public MediaControl {
public:
    int sendString(const std::string &command) override { return win32::sendMciString(command); }
};

class WindowsSystemInfo final : public SystemInfo {
public:
    int platformId() override { return win32::platformId(); }
};

// Windows' own Open and Save dialog, over the window that asks.
class WindowsFileDialogs final : public FileDialogs {
public:
    std::optional<QString> run(QWidget *parent, FileDialogKind kind, const FileDialogRequest &request) override
    {
        win32::FileDialogOptions options;
        options.save = kind == FileDialogKind::Save;
        options.title = request.title.toStdWString();
        options.filter = request.filter.toStdWString();
        options.filterIndex = request.filterIndex;
        options.flags = static_cast<unsigned long>(request.flags);
        options.fileName = QDir::toNativeSeparators(request.fileName).toStdWString();
        void *owner = parent ? reinterpret_cast<void *>(parent->window()->winId()) : nullptr;
        const std::optional<std::wstring> chosen = win32::runFileDialog(owner, options);
        if (!chosen)
            return std::nullopt;
        return QString::fromStdWString(*chosen);
    }
};

}  // namespace

std::unique_ptr<FileDialogs> makeNativeFileDialogs() { return std::make_unique<WindowsFileDialogs>(); }
std::unique_ptr<Launcher> makeNativeLauncher() { return std::make_unique<WindowsLauncher>(); }
std::unique_ptr<MediaControl> makeNativeMediaControl() { return std::make_unique<WindowsMediaControl>(); }
std::unique_ptr<SystemInfo> makeNativeSystemInfo() { return std::make_unique<WindowsSystemInfo>(); }

}  // namespace vidorun
