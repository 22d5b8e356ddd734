// The Windows services behind the platform interfaces: a thin adaptor from
// the program's UTF-8 to the plain Win32 layer in windows_services.h.
#include "platform/native.h"
#include "platform/windows_services.h"
#include "platform/windows_text.h"

namespace vidorun {
namespace {

LaunchResult launchResult(const win32::StartResult &started)
{
    return LaunchResult{started.started, narrow(started.error)};
}

std::wstring windowsPath(const std::string &path)
{
    std::wstring wide = vidorun::wide(path);
    for (wchar_t &c : wide)
        c = c == L'/' ? L'\\' : c;
    return wide;
}

class WindowsLauncher final : public Launcher {
public:
    LaunchResult openDocument(const std::string &path) override
    {
        return launchResult(win32::openDocumentMinimized(windowsPath(path)));
    }
    LaunchResult startProgram(const std::string &path) override
    {
        return launchResult(win32::startProgram(windowsPath(path)));
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

}  // namespace

std::unique_ptr<Launcher> makeNativeLauncher() { return std::make_unique<WindowsLauncher>(); }
std::unique_ptr<MediaControl> makeNativeMediaControl() { return std::make_unique<WindowsMediaControl>(); }
std::unique_ptr<SystemInfo> makeNativeSystemInfo() { return std::make_unique<WindowsSystemInfo>(); }

}  // namespace vidorun
