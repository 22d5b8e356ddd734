#pragma once

// `--publish PROJECT OUTDIR` and its options on the program's command line.
#include "disccheck/disc_check.h"

#include <optional>
#include <string>
#include <vector>

namespace vidorun {

// An option as --help lists it: its name without dashes, the name of its
// value (empty for none) and what it does.
struct OptionHelp {
    const char *name;
    const char *valueName;
    const char *description;
};
// --publish, --iso, --force, --quiet and --linux-only, in that order.
const std::vector<OptionHelp> &publishOptionHelp();

// What the command line says of publishing.
struct PublishArguments {
    std::optional<std::string> project;  // the value of --publish; nothing without it
    bool iso = false;
    bool force = false;
    bool quiet = false;
    bool linuxOnly = false;
    std::vector<std::string> folders;  // the folders given, the one to make the discs in
};

// Whether the arguments ask for publishing, or name one of its options.
bool publishAsked(const PublishArguments &arguments);

// Publishes as the arguments ask, the one folder given being where the discs
// are made; answers the exit status. What it says goes to standard output
// and error as it is said, a line at a time, so that a progress line shows
// while the work goes on.
int runPublishCommand(const PublishArguments &arguments, const DiscCheckOptions &checkOptions,
                      const std::string &version);

}  // namespace vidorun
