// Ctrl+C and the terminal on Linux and other Unix systems.
#include "platform/console_session.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vidorun {
namespace {

volatile std::sig_atomic_t interruptedBySignal = 0;

constexpr std::array<int, 3> watchedSignals = {SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, 3> previousActions;
struct sigaction previousPipeAction;
int deferring = 0;
sigset_t maskBeforeDeferring;

extern "C" void noteInterruption(int)
{
    interruptedBySignal = 1;
}

}  // namespace

InterruptionWatch::InterruptionWatch()
{
    interruptedBySignal = 0;
    struct sigaction action = {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    // The first signal is noted; the next one finds the system's action back
    // and ends the program. No SA_RESTART: a waiting call returns at once.
    action.sa_flags = SA_RESETHAND;
    for (std::size_t i = 0; i < watchedSignals.size(); ++i)
        ::sigaction(watchedSignals[i], &action, &previousActions[i]);
    // A reader of the output that goes away (`| head`) must not end the work
    // half-way either: the writing fails instead, and the work goes on.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, &previousPipeAction);
}

InterruptionWatch::~InterruptionWatch()
{
    for (std::size_t i = 0; i < watchedSignals.size(); ++i)
        ::sigaction(watchedSignals[i], &previousActions[i], nullptr);
    ::sigaction(SIGPIPE, &previousPipeAction, nullptr);
}

// The outermost deferral blocks the signals and, when it ends, gives back
// the mask that was before it, signals already blocked then included.
DeferredInterruptions::DeferredInterruptions()
{
    if (deferring++ > 0)
        return;
    sigset_t deferred;
    sigemptyset(&deferred);
    for (const int signal : watchedSignals)
        sigaddset(&deferred, signal);
    ::sigprocmask(SIG_BLOCK, &deferred, &maskBeforeDeferring);
}

DeferredInterruptions::~DeferredInterruptions()
{
    if (--deferring == 0)
        ::sigprocmask(SIG_SETMASK, &maskBeforeDeferring, nullptr);
}

bool InterruptionWatch::interrupted()
{
    return interruptedBySignal != 0;
}

bool standardOutputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

int terminalColumns()
{
    struct winsize size = {};
    return ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 ? int(size.ws_col) : 0;
}

}  // namespace vidorun
