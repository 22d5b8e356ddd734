// Vidorun.exe: the program on Windows, its windows the system's own.
#include "app/command_line.h"
#include "app/vidorun_main.h"
#include "platform/native.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/startup_probe.h"
#include "ui/win32/win32_services.h"

int main(int argc, char *argv[])
{
    // Arguments first: a disc check needs no window, and a disc folder
    // becomes the working folder before the window reads it.
    if (argc > 1) {
        if (const std::optional<int> status = vidorun::runCommandLine(argc, argv))
            return *status;
    }
    using namespace vidorun;
    ui::win32::Win32FrontEnd frontEnd;
    ui::win32::Win32MessageBoxes messages;
    ui::win32::Win32InputBox input(frontEnd);
    ui::win32::Win32FileDialogs dialogs;
    ui::win32::Win32PictureLoader pictures(frontEnd);
    const std::unique_ptr<Launcher> launcher = makeNativeLauncher();
    const std::unique_ptr<MediaControl> media = makeNativeMediaControl();
    const std::unique_ptr<SystemInfo> system = makeNativeSystemInfo();
    const std::unique_ptr<FileSystem> files = makeNativeFileSystem();
    const Platform platform{messages, input, dialogs, *launcher, *media, *system, *files, pictures};

    VidorunMain window(platform, frontEnd);
    ui::win32::watchFirstFrame(ui::win32::windowHandle(window.view()), frontEnd,
                               [&window] { return !window.coverLoading(); });
    window.show();
    return ui::win32::runMessageLoop();
}
