#pragma once

// Starting programs on Linux and other Unix systems without a shell and
// without Qt: the program gets exactly the arguments it is given.
#include <string>
#include <vector>

namespace vidorun::posix {

struct SpawnResult {
    bool started = false;
    std::string error;  // the system's reason when not started
};

// The program a bare name stands for on the search path `searchPath`
// (a PATH-style list; an empty entry is the working folder). A name with a
// slash is a path already and is answered as it is. Empty when not found.
std::string findProgram(const std::string &name, const char *searchPath);

// Starts the program at `program` with `arguments` as its arguments (the
// program's own name comes first, as usual) and returns as soon as it has
// been executed, or has failed to be. The program runs detached: in a
// session of its own and not as our child, so nothing is left to reap and
// it outlives us. Reports a program that could not be executed.
SpawnResult startDetached(const std::string &program, const std::vector<std::string> &arguments);

}  // namespace vidorun::posix
