#pragma once

// `--publish PROJECT OUTDIR` and its options on the program's command line.
#include "disccheck/disc_check.h"

#include <QCommandLineOption>

class QCommandLineParser;

namespace vidorun {

struct PublishOptions {
    QCommandLineOption publish;
    QCommandLineOption iso;
    QCommandLineOption force;
    QCommandLineOption quiet;
    QCommandLineOption linuxOnly;
};

// Adds the options to the parser, for --help too.
PublishOptions addPublishOptions(QCommandLineParser &parser);

// Whether the arguments ask for publishing, or name one of its options.
bool publishAsked(const QCommandLineParser &parser, const PublishOptions &options);

// Publishes as the parsed arguments ask, the one folder given being where
// the discs are made; answers the exit status. What it says goes to standard
// output and error as it is said, so that a progress line shows while the
// work goes on.
int runPublishCommand(const QCommandLineParser &parser, const PublishOptions &options,
                      const DiscCheckOptions &checkOptions);

}  // namespace vidorun
