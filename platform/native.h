#pragma once

#include "platform/platform.h"

#include <memory>

namespace vidorun {

// The system's own services: one implementation for Windows, one for
// Linux and other Unix desktops, chosen at build time. The windows'
// services (message boxes, the input box, the file dialogs, pictures) come
// with each front end.
std::unique_ptr<Launcher> makeNativeLauncher();
std::unique_ptr<MediaControl> makeNativeMediaControl();
std::unique_ptr<SystemInfo> makeNativeSystemInfo();
std::unique_ptr<FileSystem> makeNativeFileSystem();

}  // namespace vidorun
