#pragma once

#include "disccheck/disc_check.h"

#include <QString>

#include <optional>

class QTextStream;

namespace vidorun {

// The program's arguments, dealt with before the window's start-up begins.
// `--check [FOLDER]` (or `--check=FOLDER`), `--help`, `--version` and
// `--publish` are answered here, without a display, and give the exit
// status. Otherwise `FOLDER` becomes the working folder, as if the program
// had been started from that disc, and the menu starts: then, as without
// arguments, nothing is answered. An unknown option, or a folder that is
// not there, is reported on standard error with exit status 2.
// Qt's own options of every window program (-platform, -style, ...) are
// left to the application object.
std::optional<int> runCommandLine(int argc, char *argv[]);

// What `vidorun --check` checks a disc with: the cover is read by the
// program's own picture plugins and held to the largest picture it shows.
DiscCheckOptions discCheckOptions();

// `vidorun --check FOLDER`: prints the disc checker's report on `out`, or on
// `err` why the folder can't be checked; answers the exit status.
int runDiscCheck(const QString &folder, QTextStream &out, QTextStream &err);

}  // namespace vidorun
