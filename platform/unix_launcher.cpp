// Starting programs and documents on Linux and other Unix desktops: no
// shell, the arguments handed over exactly as given, and the program
// detached (a session of its own, not our child).
#include "platform/native.h"
#include "platform/file_places.h"


#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char **environ;

namespace vidorun {
namespace {

// The program started gets no descriptor of ours: they are all marked
// close-on-exec first. The program itself never runs another program with
// descriptors of its own.
void keepDescriptorsToOurselves()
{
#if defined(CLOSE_RANGE_CLOEXEC)
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
#endif
    // Kernels before 5.11, and other systems: one by one.
    DIR *open = ::opendir("/proc/self/fd");
    if (!open)
        open = ::opendir("/dev/fd");
    if (!open)
        return;
    while (const dirent *entry = ::readdir(open)) {
        const int fd = std::atoi(entry->d_name);
        if (fd < 3 || fd == ::dirfd(open))
            continue;
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0)
            ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
    ::closedir(open);
}

// A "\" is part of a name here, not a separator; nothing stays nothing.
std::string absolute(const std::string &path)
{
    return path.empty() ? path : absolutePath(path);
}

// A program of that name in a folder of PATH, as a shell would find it;
// empty when there is none.
std::string findExecutable(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = folders.substr(start, end - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + '/' + name;
        struct stat info;
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return absolute(candidate);
        start = end + 1;
    }
    return {};
}

// Starts `program` with `arguments`, detached: a child starts a session of
// its own and starts the program from there, so that the program is nobody's
// child of ours. A failed start is reported with the system's reason, after
// the program's name as the viewer knows it.
LaunchResult startDetached(const std::string &program, const std::vector<std::string> &arguments,
                           const std::string &shownName)
{
    keepDescriptorsToOurselves();
    // Everything the children need is made before they exist: between fork
    // and exec only the simplest calls are safe.
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int report[2];
    if (program.empty() || program.find('\0') != std::string::npos)
        return {false, shownName + ": " + std::strerror(ENOENT)};
    if (::pipe2(report, O_CLOEXEC) != 0)
        return {false, shownName + ": " + std::strerror(errno)};

    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::signal(SIGPIPE, SIG_DFL);
            ::execve(argv[0], argv.data(), environ);
            const int error = errno;
            (void)!::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        if (grandchild < 0) {
            const int error = errno;
            (void)!::write(report[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    const int forkError = errno;
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        return {false, shownName + ": " + std::strerror(forkError)};
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word when the program has started.
    int error = 0;
    ssize_t got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (got == ssize_t(sizeof error))
        return {false, shownName + ": " + std::strerror(error)};
    return {true, {}};
}

class UnixLauncher final : public Launcher {
public:
    // xdg-open finds the desktop's player for the file; it is started
    // directly with the file as its one argument.
    LaunchResult openDocument(const std::string &path) override
    {
        const std::string opener = findExecutable("xdg-open");
        if (opener.empty())
            return {false, "xdg-open, which opens files with their program, is not installed."};
        // Absolute, so that a name beginning with "-" is never taken for an
        // option and a player already running elsewhere finds the file.
        return startDetached(opener, {absolute(path)}, opener);
    }

    // The path is the program itself, never looked up on the search path
    // and never a command.
    LaunchResult startProgram(const std::string &path) override
    {
        return startDetached(absolute(path), {}, path);
    }
};

}  // namespace

std::unique_ptr<Launcher> makeNativeLauncher() { return std::make_unique<UnixLauncher>(); }

}  // namespace vidorun
