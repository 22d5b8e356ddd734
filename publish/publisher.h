#pragma once

// `vidorun --publish PROJECT OUTDIR`: every disc of a project laid out in
// OUTDIR ready to burn, and with `--iso` its image beside it; each finished
// disc goes through the disc check.
#include "disccheck/disc_check.h"

#include <QString>
#include <QStringList>

#include <functional>

class QTextStream;

namespace vidorun {

class PublishFiles;

struct PublishRequest {
    QString project;    // an Autorun.inf, or a folder holding one
    QString outFolder;  // where the discs are made; made itself when missing
    bool image = false;             // --iso
    bool replace = false;           // --force
    bool quiet = false;             // nothing but errors
    bool windowsProgram = true;     // not --linux-only
    QStringList windowsProgramCandidates;  // where to look for Vidorun.exe, in order
};

struct PublishEnvironment {
    PublishFiles &files;
    DiscCheckOptions checkOptions;
    std::function<bool()> interrupted;  // Ctrl+C was pressed
    bool terminal = false;              // standard output shows a line written over in place
    int columns = 0;                    // the terminal's width; 0 when not known
    QString version;                    // "4.0"
};

// Publishes and answers the exit status: 0 when every disc was made and its
// check finds no problem, 1 when every disc was made but a check finds
// one, 2 when a disc could not be made (then nothing of it is left). What
// keeps the project from being published is found before anything is
// written: then nothing is.
int publishProject(const PublishRequest &request, PublishEnvironment &environment, QTextStream &out,
                   QTextStream &err);

}  // namespace vidorun
