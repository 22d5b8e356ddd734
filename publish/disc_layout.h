#pragma once

// What each disc of a project holds, decided before anything is written:
// its files and their names, and the Autorun.inf that finds them.
#include "app/project.h"
#include "publish/project_sources.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vidorun {

// Fixed names on every disc's root.
inline const QString DiscProjectName = QStringLiteral("Autorun.inf");
inline const QString DiscProgramName = QStringLiteral("Vidorun.exe");
inline const QString DiscScriptName = QStringLiteral("autorun.sh");
inline const QString DiscNoticesName = QStringLiteral("NOTICES.TXT");
inline const QString DiscMoviesFolder = QStringLiteral("MOVIES");

// One file on a disc.
struct DiscFile {
    QString path;        // on the disc, "/" between folders: "MOVIES/Sunrise.avi"
    QString source;      // the file on this computer it is copied from; empty when `content` holds it
    QByteArray content;  // the bytes the program writes itself
    bool executable = false;
    qint64 bytes = 0;
};

struct DiscLayout {
    QString label;
    QString folderName;  // in OUTDIR; with ".iso", the image's name
    QString volumeId;
    int movies = 0;
    QStringList folders;  // on the disc, parents first
    std::vector<DiscFile> files;
    qint64 bytes() const;
};

// A file that the disc holds under another name than its own.
struct Renaming {
    QString label;  // the disc; empty for the files every disc holds
    QString from;   // disc paths as Windows spells them
    QString to;
    QString reason;
    bool output = false;  // the name of a disc's folder in OUTDIR, not of a file on it
};

// What the program puts on every disc besides the project's own files.
struct ProgramFiles {
    QString windowsProgram;  // the Vidorun.exe copied onto each disc; empty for discs without one
    qint64 windowsProgramBytes = 0;
    QByteArray notices;
    QByteArray autorunScript;
};

struct PublishPlan {
    std::vector<DiscLayout> discs;  // one for each CD label, in the order the labels first appear
    std::vector<Renaming> renamed;
    Project discProject;            // what every disc's Autorun.inf holds
    QByteArray projectFile;         // its bytes, as the Write command writes them
    QStringList notes;              // values the discs' Autorun.inf holds otherwise than the project
    QStringList errors;             // what can't be laid out
};

// Lays the project out on its discs. Every disc carries the whole movie list
// with disc-relative paths (MOVIES\<name>), the cover and the installers on
// its root, the marker of its label, Vidorun.exe, autorun.sh and the
// notices. Names are made safe (safe_names.h), and kept to ASCII where the
// project file is written in the code page, or whatever it is written in
// when `asciiBecause` says why they must be. With `images`, each disc's
// image <name>.iso goes beside its folder in OUTDIR.
PublishPlan layOutDiscs(const ProjectSources &sources, const ProgramFiles &program, bool images,
                        const QString &asciiBecause = QString());

}  // namespace vidorun
