// The system's ANSI code page, through Windows' own conversions.
#include "platform/code_page.h"

#include "base/utf8.h"
#include "platform/win32_api.h"

namespace vidorun {

std::string decodeCodePage(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::u16string wide(std::size_t(length), u'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t *>(wide.data()), length);
    return fromUtf16(wide);
}

std::optional<std::string> encodeCodePage(std::string_view utf8)
{
    if (utf8.empty())
        return std::string();
    // A system set to use UTF-8 as its code page holds every character, and
    // its conversion takes none of the flags that ask what was lacking.
    if (::GetACP() == CP_UTF8)
        return std::string(utf8);
    const std::u16string wide = toUtf16(utf8);
    const auto *text = reinterpret_cast<const wchar_t *>(wide.data());
    // No look-alikes: a character the code page lacks is no place in it.
    BOOL lacking = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, int(wide.size()), nullptr, 0,
                                             nullptr, &lacking);
    if (lacking || length <= 0)
        return std::nullopt;
    std::string bytes(std::size_t(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, int(wide.size()), bytes.data(), length, nullptr,
                          &lacking);
    if (lacking || decodeCodePage(bytes) != utf8)
        return std::nullopt;
    return bytes;
}

}  // namespace vidorun
