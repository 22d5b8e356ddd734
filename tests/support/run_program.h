#pragma once

// Runs a program as a viewer or author would start it, for the tests of the
// command line: its arguments handed over as they are (no shell), no display
// in its environment. Unix.
#include <string>
#include <vector>

namespace vidorun::testing {

struct ProgramRun {
    int status = -1;  // the exit status; -1 when it did not exit by itself within a minute
    std::string out;
    std::string err;
};

// Runs `program` in `folder` (the test's own working folder when empty) and
// waits for it.
ProgramRun runProgram(const std::string &program, const std::vector<std::string> &arguments,
                      const std::string &folder = std::string());

}  // namespace vidorun::testing
