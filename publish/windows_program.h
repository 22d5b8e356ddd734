#pragma once

// Where the Vidorun.exe that goes onto every disc comes from.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun {

class PublishFiles;

// The places to look, in order: on Windows the running program itself; on
// other systems the one the package installs beside the program
// (<prefix>/share/vidorun/Vidorun.exe for <prefix>/bin/vidorun) and, for a
// program run from its build folder (one holding CMakeCache.txt), the one
// the Windows build leaves beside that folder (../build-windows/).
std::vector<std::string> windowsProgramCandidates(const std::string &runningProgram);

struct WindowsProgram {
    std::string path;   // empty when none was found
    std::int64_t bytes = 0;
    std::string error;  // why none of the candidates can be used
};

// The first candidate that is a Windows program.
WindowsProgram findWindowsProgram(const std::vector<std::string> &candidates, PublishFiles &files);

// Whether the file starts as a Windows program does: an MS-DOS header
// whose pointer leads to a PE signature.
bool isWindowsProgramHeader(std::string_view head);

}  // namespace vidorun
