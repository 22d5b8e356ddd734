#pragma once

#include "disccheck/disc_check.h"

#include <optional>
#include <string>

namespace vidorun {

// The program's arguments, dealt with before the window's start-up begins.
// `--check [FOLDER]` (or `--check=FOLDER`), `--help`, `--version` and
// `--publish` are answered here, without a display, and give the exit
// status. Otherwise `FOLDER` becomes the working folder, as if the program
// had been started from that disc, and the menu starts: then, as without
// arguments, nothing is answered. An unknown option, or a folder that is
// not there, is reported on standard error with exit status 2.
// The options every Qt window program takes (-platform, -style, ...) are
// let through, and left to the window's start-up.
std::optional<int> runCommandLine(int argc, char *argv[]);

// What `vidorun --check` checks a disc with: the cover's header is read as
// the program's picture loader reads it, and held to the largest picture it
// shows.
DiscCheckOptions discCheckOptions();

// `vidorun --check FOLDER`: adds the disc checker's report to `out`, or to
// `err` why the folder can't be checked; answers the exit status.
int runDiscCheck(const std::string &folder, std::string &out, std::string &err);

}  // namespace vidorun
