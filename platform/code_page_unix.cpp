// Without an ANSI code page of the system's, project files are read and
// written in Windows-1252, the code page of western Windows.
#include "platform/code_page.h"

#include "projectfile/text_codec.h"

namespace vidorun {

std::string decodeCodePage(std::string_view bytes)
{
    return decodeCp1252(bytes);
}

std::optional<std::string> encodeCodePage(std::string_view utf8)
{
    return encodeCp1252(utf8);
}

}  // namespace vidorun
