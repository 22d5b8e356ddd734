// The file test on Linux and other Unix systems.
#include "platform/file_test.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vidorun {

bool isReadableRegularFile(const std::string &path)
{
    // A name with a NUL in it names no file: the system would read it only up
    // to the NUL, and so test another file.
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    // Look before opening: opening a device can have effects of its own.
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    // The file may have been swapped for a pipe since; a non-blocking open
    // and a second look at what was opened settle it. Opening a pipe for
    // reading without O_NONBLOCK would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR:
        case EACCES:
        case EPERM:
        case EISDIR:
        case ELOOP:
        case ENAMETOOLONG:
        case ENXIO:
            return false;
        default:
            return true;  // there, but busy or locked
        }
    }
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

}  // namespace vidorun
