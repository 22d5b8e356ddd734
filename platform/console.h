#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vidorun {

// Vidorun.exe is a window program, so Windows gives it no console: started
// from a command prompt with --check, --help or --version, its answers would
// go nowhere. Before it answers, this sends its standard output and error
// streams that lead nowhere to the console of the program that started it,
// where there is one; streams redirected to a file or a pipe stay as they
// are. Elsewhere a program keeps its terminal, and this does nothing.
#ifdef _WIN32
void answerOnParentConsole();
#else
inline void answerOnParentConsole() {}
#endif

// The program's arguments as they were typed, the program's name first. On
// Windows they come from the wide command line, so that a folder named in
// any script arrives whole (the narrow `argv` holds "?" for every letter
// the ANSI code page lacks); elsewhere they are `argv` in the system's
// encoding (UTF-8 on Windows).
std::vector<std::string> programArguments(int argc, char *argv[]);

// Writes an answer to standard output or error: to a Windows console in
// UTF-16, so that every letter shows whatever the console's code page;
// anywhere else (a file, a pipe, a terminal) in UTF-8.
void writeAnswer(std::FILE *stream, const std::string &utf8);

}  // namespace vidorun
