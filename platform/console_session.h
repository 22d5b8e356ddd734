#pragma once

// What a long task of the command line asks of the console it runs in.
namespace vidorun {

// While one lives, Ctrl+C (and on Unix a plain kill and the end of the
// terminal session) no longer ends the program at once: it is noted, and the
// work that asks interrupted() stops and removes what it left half made. A
// second Ctrl+C ends the program at once. On Unix, output to a pipe whose
// reader has gone fails rather than ending the program. One at a time.
class InterruptionWatch {
public:
    InterruptionWatch();
    ~InterruptionWatch();
    InterruptionWatch(const InterruptionWatch &) = delete;
    InterruptionWatch &operator=(const InterruptionWatch &) = delete;

    static bool interrupted();
};

// While one lives, Ctrl+C, a plain kill and the end of the terminal session
// wait: work that must not be cut in two (putting a set of discs in place)
// runs to its end, and what came meanwhile is heard once it is over. A
// second Ctrl+C then ends the program as before.
class DeferredInterruptions {
public:
    DeferredInterruptions();
    ~DeferredInterruptions();
    DeferredInterruptions(const DeferredInterruptions &) = delete;
    DeferredInterruptions &operator=(const DeferredInterruptions &) = delete;
};

// Whether standard output is a terminal (on Windows a console) that shows a
// line written over in place.
bool standardOutputIsTerminal();
// How many characters a line of that terminal holds; 0 when it can't tell.
int terminalColumns();

}  // namespace vidorun
