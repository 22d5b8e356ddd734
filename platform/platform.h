#pragma once

#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/input_box.h"
#include "platform/launcher.h"
#include "platform/media_control.h"
#include "platform/message_box.h"
#include "platform/picture_loader.h"
#include "platform/system_info.h"

namespace vidorun {

// Everything the program asks of the operating system, handed to the main
// window when it is made. The program passes the real services, tests pass
// scriptable fakes.
struct Platform {
    MessageBoxes &messages;
    InputBox &input;
    FileDialogs &dialogs;
    Launcher &launcher;
    MediaControl &media;
    SystemInfo &system;
    FileSystem &files;
    PictureLoader &pictures;
};

}  // namespace vidorun
