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

// Whether standard output is a terminal (on Windows a console) that shows a
// line written over in place.
bool standardOutputIsTerminal();
// How many characters a line of that terminal holds; 0 when it can't tell.
int terminalColumns();

}  // namespace vidorun
