#include "projectfile/text_codec.h"

#include "platform/code_page.h"

namespace vidorun {

std::string decodeProjectText(const std::string &bytes, bool fileIsUtf8)
{
    if (!fileIsUtf8)
        return decodeCodePage(bytes);
    // A value cut short in the middle of a letter keeps the rest as U+FFFD.
    return asValidUtf8(bytes);
}

bool inProjectCodePage(char32_t c)
{
    std::string text;
    appendUtf8(text, c);
    return encodeCodePage(text).has_value();
}

}  // namespace vidorun
