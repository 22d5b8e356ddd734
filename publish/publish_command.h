#pragma once

// `--publish PROJECT OUTDIR` and its options on the program's command line.
#include "disccheck/disc_check.h"

#include <QCommandLineOption>

class QCommandLineParser;
class QTextStream;

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

// Publishes as the parsed arguments ask, OUTDIR being the one folder given;
// answers the exit status.
int runPublishCommand(const QCommandLineParser &parser, const PublishOptions &options,
                      const DiscCheckOptions &checkOptions, QTextStream &out, QTextStream &err);

}  // namespace vidorun
