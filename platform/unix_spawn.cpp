#include "platform/unix_spawn.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace vidorun::posix {
namespace {

bool isExecutableFile(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string systemReason(const std::string &what, int error)
{
    return what + ": " + std::strerror(error);
}

bool makePipe(int fds[2])
{
#if defined(__linux__) || defined(__FreeBSD__) || defined(__NetBSD__) || defined(__OpenBSD__)
    return ::pipe2(fds, O_CLOEXEC) == 0;
#else
    if (::pipe(fds) != 0)
        return false;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    return true;
#endif
}

// Between fork and exec only async-signal-safe calls are allowed: the
// program has other threads whose locks the child may have inherited held.
[[noreturn]] void writeErrorAndExit(int fd, int error, int status)
{
    ssize_t written;
    do
        written = ::write(fd, &error, sizeof error);
    while (written < 0 && errno == EINTR);
    ::_exit(status);
}

[[noreturn]] void runDetached(char *const argv[], int errorPipe)
{
    ::setsid();
    const pid_t program = ::fork();
    if (program < 0)
        writeErrorAndExit(errorPipe, errno, 1);
    if (program > 0)
        ::_exit(0);  // the program is handed to init; nothing waits for it

    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &defaults, nullptr);
#if defined(CLOSE_RANGE_CLOEXEC)
    // Our windows' and drives' descriptors are none of the player's business.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
    ::execve(argv[0], argv, environ);
    writeErrorAndExit(errorPipe, errno, 127);
}

}  // namespace

std::string findProgram(const std::string &name, const char *searchPath)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return name;
    const std::string dirs = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type end = dirs.find(':', start);
        std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (dir.empty())
            dir = ".";
        const std::string candidate = dir + '/' + name;
        if (isExecutableFile(candidate))
            return candidate;
        if (end == std::string::npos)
            return {};
        start = end + 1;
    }
}

SpawnResult startDetached(const std::string &program, const std::vector<std::string> &arguments)
{
    // Everything the child needs is made before the fork.
    std::vector<char *> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    // The pipe closes by itself when the program has been executed; before
    // that it carries the reason why it could not be.
    int errorPipe[2];
    if (!makePipe(errorPipe))
        return {false, systemReason("pipe", errno)};

    const pid_t intermediate = ::fork();
    if (intermediate < 0) {
        const int error = errno;
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        return {false, systemReason("fork", error)};
    }
    if (intermediate == 0) {
        ::close(errorPipe[0]);
        runDetached(argv.data(), errorPipe[1]);
    }

    ::close(errorPipe[1]);
    int status = 0;
    while (::waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
    }
    int childError = 0;
    ssize_t got;
    do
        got = ::read(errorPipe[0], &childError, sizeof childError);
    while (got < 0 && errno == EINTR);
    ::close(errorPipe[0]);

    if (got == sizeof childError)
        return {false, systemReason(program, childError)};
    return {true, {}};
}

}  // namespace vidorun::posix
