#pragma once

// The letter cases of the program's text (UTF-8 throughout).
#include <string>
#include <string_view>

namespace vidorun {

// Upper case as Windows gives it to the program's text, which lives in the
// Windows-1252 code page: one character for one, and only where both the
// letter and its capital are in that code page (a-z, à-þ but ÷, š, œ, ž, ÿ).
// Every other character stays as it is, among them ß and µ, whose capitals
// are not in the code page. The marker file's name uses it: the label it is
// made of comes from the reader already upper-cased (projectUpper), and
// whatever else it holds is upper-cased as a code-page file would be.
char32_t windowsUpper(char32_t c);
// Bytes that are not UTF-8 stay as they are.
std::string windowsUpper(std::string_view utf8);

// The upper case the reader gives the paths and CD labels of a project
// file: one character for one, wherever the capital can be written in the
// file's own encoding. In a UTF-8 file that is every letter with a capital
// of its own in the Basic Multilingual Plane ("łódź" gives "ŁÓDŹ",
// "фильм" gives "ФИЛЬМ"); letters beyond it stay, as Windows compares file
// names a UTF-16 unit at a time, and so do Georgian letters, whose capitals
// (Mtavruli) are newer than the file systems that would have to find them.
// In a file in the code page (Windows-1252 here, the system's ANSI code page
// on Windows), both the letter and its capital must be in that code page.
// ß stays ß everywhere: one character for one, never two.
char32_t projectUpper(char32_t c, bool fileIsUtf8);
std::string projectUpper(std::string_view utf8, bool fileIsUtf8);

// How the disc lookup compares file names, as Windows' file systems do:
// without regard to letter case, one UTF-16 unit for one (ß is not SS).
// Two names are the same name when their folds are equal. The fold is
// broader than projectUpper, never narrower: a name and its upper case in
// any encoding always fold alike, so every path the reader upper-cased is
// found.
char32_t fileNameFold(char32_t c);
std::string fileNameFoldUtf8(std::string_view utf8);

}  // namespace vidorun
