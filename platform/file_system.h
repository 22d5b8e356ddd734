#pragma once

#include <string>

namespace vidorun {

// File tests and path lookups. Paths are as the project stores them; the
// file system finds the file they stand for on this system.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True for a file that exists and can be opened for reading.
    virtual bool fileExists(const std::string &path) = 0;
    // The path under which the file named by `path` is found on this system
    // (the path itself when nothing better is known).
    virtual std::string resolve(const std::string &path) = 0;
};

}  // namespace vidorun
