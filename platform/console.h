#pragma once

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

}  // namespace vidorun
