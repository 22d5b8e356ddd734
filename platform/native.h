#pragma once

#include "platform/platform.h"

#include <memory>

namespace vidorun {

// The system's own services: one implementation for Windows, one for
// Linux and other Unix desktops, chosen at build time.
std::unique_ptr<Launcher> makeNativeLauncher();
std::unique_ptr<MediaControl> makeNativeMediaControl();
std::unique_ptr<SystemInfo> makeNativeSystemInfo();
std::unique_ptr<FileSystem> makeNativeFileSystem();
// The Open and Save dialogs: Windows' own on Windows, Qt's elsewhere.
std::unique_ptr<FileDialogs> makeNativeFileDialogs();

}  // namespace vidorun
