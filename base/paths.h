#pragma once

// Paths as the program holds them: UTF-8, "/" between folders inside the
// program (Windows takes it as well as "\"), shown with this system's own
// separator.
#include <string>
#include <string_view>

namespace vidorun {

// The last part of a path: "b.avi" of "a/b.avi" and of "a\b.avi".
std::string fileNameOf(std::string_view path);
// Everything before the last part, without a trailing separator: "a" of
// "a/b.avi"; "." for a bare name, "/" for "/b".
std::string folderOf(std::string_view path);
// `name` in `folder`.
std::string inFolder(std::string_view folder, std::string_view name);
// With "/" in place of "\".
std::string withSlashes(std::string_view path);
// With "\" in place of "/", as Windows and a disc's Autorun.inf spell paths.
std::string withBackslashes(std::string_view path);
// As this system spells it: "\" on Windows, "/" elsewhere.
std::string nativePath(std::string_view path);
// Without "." parts, doubled separators and a trailing separator, and with
// each ".." taking back the part before it: by the text alone.
std::string cleanPath(std::string_view path);

}  // namespace vidorun
