#pragma once

// The main window's menu bar and its keyboard shortcuts, from the
// description's menu table. Entry i of the table has the command id
// firstId + i.
#include "platform/win32_api.h"
#include "ui/window_description.h"

#include <span>
#include <string_view>

namespace vidorun::ui::win32 {

HMENU createMenuBar(std::span<const MenuItem> menu, int firstId);
// The shortcuts ("Ctrl+O") of the menu's items; nothing when none has one.
HACCEL createAccelerators(std::span<const MenuItem> menu, int firstId);

// A shortcut as an accelerator entry: "Ctrl+", "Shift+" and "Alt+" before a
// letter, a digit, or F1 to F12. False for anything else.
bool parseShortcut(std::string_view shortcut, ACCEL &key);

}  // namespace vidorun::ui::win32
