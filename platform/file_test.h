#pragma once

#include <string>

namespace vidorun {

// The program's file test: true for a regular file (or a link to one) that
// can be opened for reading. A missing file or folder, a folder, an empty
// name and a file the user may not read give false; so do pipes, devices and
// links to them, which could block a reader or never end. The test never
// blocks and leaves nothing open. A file that exists but can't be opened for
// another reason (another program holds it locked) gives true.
// The path is in the system's file name encoding (UTF-8 on Windows).
bool isReadableRegularFile(const std::string &path);

}  // namespace vidorun
