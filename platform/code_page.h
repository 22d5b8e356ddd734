#pragma once

// The system's ANSI code page, in which Windows programs of old write their
// text files; Windows-1252 on systems that have none.
#include <optional>
#include <string>
#include <string_view>

namespace vidorun {

// Bytes in the code page as UTF-8.
std::string decodeCodePage(std::string_view bytes);
// UTF-8 text in the code page; nothing when a character has no place in it.
std::optional<std::string> encodeCodePage(std::string_view utf8);

}  // namespace vidorun
