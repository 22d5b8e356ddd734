#pragma once

// Texts cross into the system as UTF-16 and come back as UTF-8: the
// program's texts are UTF-8 everywhere else (platform/windows_text.h).
#include "platform/win32_api.h"
#include "platform/windows_text.h"

#include <string>
#include <string_view>

namespace vidorun::ui::win32 {

inline std::wstring toWide(std::string_view utf8)
{
    return wide(utf8);
}
inline std::string toUtf8(std::wstring_view text)
{
    return narrow(text);
}

// A window's text (a caption, a label's or a text box's contents).
std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view text);

}  // namespace vidorun::ui::win32
