#include "support/run_program.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vidorun::testing {

ProgramRun runProgram(const std::string &program, const std::vector<std::string> &arguments,
                      const std::string &folder)
{
    ProgramRun run;
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0)
        return run;
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            ::unsetenv(name);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::close(out[0]);
        ::close(err[0]);
        if (!folder.empty() && ::chdir(folder.c_str()) != 0)
            ::_exit(127);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    if (child < 0) {
        ::close(out[0]);
        ::close(err[0]);
        return run;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    pollfd streams[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string *texts[2] = {&run.out, &run.err};
    for (int open = 2; open > 0 && std::chrono::steady_clock::now() < deadline;) {
        if (::poll(streams, 2, 1000) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (streams[i].fd < 0 || !(streams[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            const ssize_t n = ::read(streams[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                texts[i]->append(buffer, std::size_t(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(streams[i].fd);
                streams[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd &stream : streams) {
        if (stream.fd >= 0) {
            ::close(stream.fd);
            ::kill(child, SIGKILL);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && std::chrono::steady_clock::now() < deadline)
        run.status = WEXITSTATUS(status);
    return run;
}

}  // namespace vidorun::testing
