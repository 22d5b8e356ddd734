#pragma once

// `vidorun --publish PROJECT OUTDIR`: every disc of a project laid out in
// OUTDIR ready to burn, and with `--iso` its image beside it; each finished
// disc goes through the disc check.
#include "disccheck/disc_check.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun {

class PublishFiles;

struct PublishRequest {
    std::string project;    // an Autorun.inf, or a folder holding one
    std::string outFolder;  // where the discs are made; made itself when missing
    bool image = false;             // --iso
    bool replace = false;           // --force
    bool quiet = false;             // nothing but errors
    bool windowsProgram = true;     // not --linux-only
    std::vector<std::string> windowsProgramCandidates;  // where to look for Vidorun.exe, in order
};

struct PublishEnvironment {
    PublishFiles &files;
    DiscCheckOptions checkOptions;
    std::function<bool()> interrupted;  // Ctrl+C was pressed
    bool terminal = false;              // standard output shows a line written over in place
    int columns = 0;                    // the terminal's width; 0 when not known
    std::string version;                // "4.0"
};

// Where publishing says what it does, as it does it: whole lines, or the
// progress line written over in place. The receiver passes each piece on at
// once, so that it shows while the work goes on.
using PublishOutput = std::function<void(std::string_view text)>;

// Publishes and answers the exit status: 0 when every disc was made and its
// check finds no problem, 1 when every disc was made but a check finds
// one, 2 when a disc could not be made (then nothing of it is left). What
// keeps the project from being published is found before anything is
// written: then nothing is.
int publishProject(const PublishRequest &request, PublishEnvironment &environment, const PublishOutput &out,
                   const PublishOutput &err);

}  // namespace vidorun
