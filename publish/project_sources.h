#pragma once

// What a project publishes from: its Autorun.inf, read by the program's own
// reader, and every file it names, found on the author's computer as the
// program finds them and looked at before anything is written.
#include "app/project.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vidorun {

class PublishFiles;

// A file of the author's that goes onto the discs.
struct SourceFile {
    std::string written;  // the path as the project holds it
    std::string path;     // where it is on this computer
    std::string name;     // its own file name there
    std::int64_t bytes = 0;
};

struct SourceMovie {
    int number = 0;
    std::string title;
    std::string label;
    SourceFile file;
};

struct ProjectSources {
    std::string projectFile;  // the Autorun.inf read
    Project project;      // as the reader read it
    std::vector<SourceMovie> movies;
    std::optional<SourceFile> cover, player, codec;
    // What keeps the project from being published, one line each, naming the
    // movie (number and title) or the setting and the path. Nothing is
    // written while there is any.
    std::vector<std::string> errors;
    // What the author must hear of all the same: files taken from outside
    // the project's folder, lines the program reads otherwise than meant.
    std::vector<std::string> warnings;
};

// Reads the project `projectArgument` (an Autorun.inf, or a folder holding
// one in any letter case) and finds its files. Autorun.inf must be one the
// disc check finds no error in; every movie needs a file and a CD label
// whose marker a disc can hold; each file must be a regular file (or a link
// to one) that can be read, and the only one of its folder that the
// program's upper-cased path finds.
ProjectSources readProjectSources(const std::string &projectArgument, PublishFiles &files);

// The labels of the movies, each once, in the order they first appear.
std::vector<std::string> labelsInOrder(const ProjectSources &sources);

}  // namespace vidorun
