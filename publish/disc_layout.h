#pragma once

// What each disc of a project holds, decided before anything is written:
// its files and their names, and the Autorun.inf that finds them.
#include "app/project.h"
#include "publish/project_sources.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vidorun {

// Fixed names on every disc's root.
inline const std::string DiscProjectName = "Autorun.inf";
inline const std::string DiscProgramName = "Vidorun.exe";
inline const std::string DiscScriptName = "autorun.sh";
inline const std::string DiscNoticesName = "NOTICES.TXT";
inline const std::string DiscMoviesFolder = "MOVIES";

// One file on a disc.
struct DiscFile {
    std::string path;     // on the disc, "/" between folders: "MOVIES/Sunrise.avi"
    std::string source;   // the file on this computer it is copied from; empty when `content` holds it
    std::string content;  // the bytes the program writes itself
    bool executable = false;
    std::int64_t bytes = 0;
};

struct DiscLayout {
    std::string label;
    std::string folderName;  // in OUTDIR; with ".iso", the image's name
    std::string volumeId;
    int movies = 0;
    std::vector<std::string> folders;  // on the disc, parents first
    std::vector<DiscFile> files;
    std::int64_t bytes() const;
};

// A file that the disc holds under another name than its own.
struct Renaming {
    std::string label;  // the disc; empty for the files every disc holds
    std::string from;   // disc paths as Windows spells them
    std::string to;
    std::string reason;
    bool output = false;  // the name of a disc's folder in OUTDIR, not of a file on it
};

// What the program puts on every disc besides the project's own files.
struct ProgramFiles {
    std::string windowsProgram;  // the Vidorun.exe copied onto each disc; empty for discs without one
    std::int64_t windowsProgramBytes = 0;
    std::string notices;
    std::string autorunScript;
};

struct PublishPlan {
    std::vector<DiscLayout> discs;  // one for each CD label, in the order the labels first appear
    std::vector<Renaming> renamed;
    Project discProject;            // what every disc's Autorun.inf holds
    std::string projectFile;         // its bytes, as the Write command writes them
    std::vector<std::string> errors; // what can't be laid out
};

// Lays the project out on its discs. Every disc carries the whole movie list
// with disc-relative paths (MOVIES\<name>), the cover and the installers on
// its root, the marker of its label, Vidorun.exe, autorun.sh and the
// notices. Names are made safe (safe_names.h), and kept to ASCII where the
// project file is written in the code page, or whatever it is written in
// when `asciiBecause` says why they must be. With `images`, each disc's
// image <name>.iso goes beside its folder in OUTDIR.
PublishPlan layOutDiscs(const ProjectSources &sources, const ProgramFiles &program, bool images,
                        const std::string &asciiBecause = std::string());

}  // namespace vidorun
