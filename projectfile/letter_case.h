#pragma once

#include <string>
#include <string_view>

class QString;

namespace vidorun {

// Upper case as Windows gives it to the program's text, which lives in the
// Windows-1252 code page: one character for one, and only where both the
// letter and its capital are in that code page (a-z, à-þ but ÷, š, œ, ž, ÿ).
// Every other character stays as it is, among them ß and µ, whose capitals
// are not in the code page. The reader's paths and CD labels and the marker
// file's name use it, so that they name what a disc made on Windows carries.
char32_t windowsUpper(char32_t c);
QString windowsUpper(const QString &text);
// The same for UTF-8 text; bytes that are not UTF-8 stay as they are.
std::string windowsUpperUtf8(std::string_view utf8);

// How the disc lookup compares file names, as Windows' file systems do:
// without regard to letter case, in Greek and Cyrillic too, one character
// for one (ß is not SS). Two names are the same name when their folds are
// equal. The fold is broader than windowsUpper, never narrower: a name and
// its windowsUpper always fold alike, so every path the reader upper-cased
// is found.
char32_t fileNameFold(char32_t c);
std::string fileNameFoldUtf8(std::string_view utf8);

}  // namespace vidorun
