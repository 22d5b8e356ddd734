#pragma once

// The text of project files: UTF-8 when the whole file is, otherwise the
// system's ANSI code page (platform/code_page.h; Windows-1252, the code page
// of western Windows, where the system has none).
#include "base/utf8.h"

#include <optional>
#include <string>
#include <string_view>

namespace vidorun {

// Project file text as UTF-8: the bytes as they are when the whole file is
// UTF-8, otherwise decoded from the code page.
std::string decodeProjectText(const std::string &bytes, bool fileIsUtf8);

// Whether a character has a place in that code page, so that a file that is
// not UTF-8 can hold it.
bool inProjectCodePage(char32_t c);

}  // namespace vidorun
