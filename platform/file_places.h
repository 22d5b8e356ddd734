#pragma once

// Paths of this computer as its system takes them: on Unix "/" alone
// separates folders (a name may hold "\"), on Windows either separator
// does. Paths are UTF-8, and come back with "/" between folders.
#include "platform/publish_files.h"

#include <string>
#include <string_view>

namespace vidorun {

// The working folder, absolute; "" when the system can't tell.
std::string currentFolder();
bool setCurrentFolder(const std::string &path);

// `path` from the working folder when it is relative, without "." parts,
// doubled separators or a trailing separator, and with each ".." taking
// back the part before it: by the text alone, no link looked at.
std::string absolutePath(std::string_view path);
// The folder that holds `path`, absolute: absolutePath() of its parent.
std::string absoluteFolderOf(std::string_view path);
// The last part of the path, as this system separates its parts.
std::string nameInPath(std::string_view path);

// The absolute path of what `path` leads to, every link on the way
// resolved; "" when nothing is there.
std::string canonicalPath(const std::string &path);

// What is at `path`, links followed.
FileKind kindAt(const std::string &path);

// The running program's own file, absolute, every link resolved; "" when the
// system can't tell.
std::string runningProgramPath();

}  // namespace vidorun
