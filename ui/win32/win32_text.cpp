#include "ui/win32/win32_text.h"

namespace vidorun::ui::win32 {

std::string windowText(HWND window)
{
    if (!window)
        return {};
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return toUtf8(text);
}

void setWindowText(HWND window, std::string_view text)
{
    SetWindowTextW(window, toWide(text).c_str());
}

}  // namespace vidorun::ui::win32
