#pragma once

// The Windows services the program uses, on the Win32 API directly. Plain
// C++ with UTF-16 paths and no Qt, so that they compile with any Windows
// compiler; native_windows.cpp adapts them to the platform interfaces.
#include <string>

namespace vidorun::win32 {

struct StartResult {
    bool started = false;
    std::wstring error;  // the system's reason when not started
};

// Opens the file with the program Windows associates with its type (the
// "open" verb), in a minimised window that leaves the focus with us. The
// path is handed over whole; no command interpreter is involved.
StartResult openDocumentMinimized(const std::wstring &path);

// Starts the file at `path` itself as a program, in a normal window. The
// path is never searched for and never read as a command line.
StartResult startProgram(const std::wstring &path);

// Sends a command string to the media control interface; answers its
// error code (0 for success). The reply text is not kept.
int sendMciString(const std::string &command);

// The operating system's platform identifier (2 for the NT family).
int platformId();

}  // namespace vidorun::win32
