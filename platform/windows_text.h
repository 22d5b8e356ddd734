#pragma once

// The Windows layer's text: UTF-8 inside the program, UTF-16 for the wide
// API, and the system's words for an error.
#include <string>
#include <string_view>

namespace vidorun {

std::wstring wide(std::string_view utf8);
std::string narrow(std::wstring_view text);
// The path for the wide API: backslashes, and past the old length limit of
// 260 characters the absolute "\\?\" form.
std::wstring widePath(std::string_view utf8);
// FormatMessageW's words for a Win32 error code, without the line end.
std::string systemReason(unsigned long error);

}  // namespace vidorun
