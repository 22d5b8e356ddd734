#pragma once

#include <string>

namespace vidorun {

struct LaunchResult {
    bool started = false;
    std::string error;  // the system's reason when not started
};

// Starts programs and documents. Never goes through a command interpreter:
// a path is always handed over whole, as one argument.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens a document with the program the system associates with its type,
    // in the background (minimised, without taking the focus). Does not wait.
    virtual LaunchResult openDocument(const std::string &path) = 0;
    // Starts the file itself as a program in a normal window. Does not wait.
    virtual LaunchResult startProgram(const std::string &path) = 0;
};

}  // namespace vidorun
