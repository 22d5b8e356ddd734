#pragma once

// The disc checker: what a viewer of this disc folder would meet, found
// without changing anything, without leaving the folder and without reading
// any movie. `vidorun --check FOLDER` prints its report.
#include "disccheck/disc_names.h"
#include "disccheck/picture_header.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun {

struct Project;

enum class Severity { Error, Warning, Note };

struct Finding {
    Severity severity = Severity::Error;
    int movie = 0;  // the movie's number; 0 when it concerns no movie
    std::string title;  // the movie's title
    std::string text;
};

// Reads a picture's header from an open file, nothing more; nothing when the
// file is no picture the program can show.
using PictureProbe = std::function<std::optional<PictureHeader>(ReadableFile &file)>;

struct DiscCheckOptions {
    PictureProbe probePicture;          // without one the cover is only checked as a file
    std::int64_t maxPicturePixels = 0;  // the largest cover the program shows; 0 for no limit
};

// The movies of one CD label, and whether this disc is that CD.
struct LabelCount {
    std::string label;
    int movies = 0;
    bool here = false;
};

struct DiscCheckReport {
    // Set when the folder or its Autorun.inf can't be read at all; nothing
    // else is then.
    std::string failure;
    std::vector<std::string> labelsHere;  // the labels whose marker is on the root
    bool labelAssumed = false;    // no marker, and the project's only label taken
    std::vector<Finding> findings;
    std::vector<LabelCount> labels;  // in the order of their first movie
    int movies = 0;
    int unlabelled = 0;           // movies without a label, or whose label line Vidorun misreads
    std::int64_t imageBytes = 0;  // the disc image genisoimage -R -J would make, estimated
    std::string noImage;          // why genisoimage -R -J makes no image of it; imageBytes is 0 then
};

DiscCheckReport checkDisc(const std::string &root, const DiscCheckOptions &options = {});

// The report as printed, line by line: a heading naming the program's
// version and `shownRoot`, one line per finding, the totals and the count of
// problems.
std::vector<std::string> reportLines(const std::string &version, const std::string &shownRoot,
                                     const DiscCheckReport &report);

// One finding as the report prints it: its severity in a column of its
// own, the movie it concerns, what it says.
std::string findingLine(const Finding &finding);
// The finding without its severity column; the column alone.
std::string findingText(const Finding &finding);
std::string severityColumn(Severity severity);

// What the check finds in a project's Autorun.inf by itself, before any
// disc is made of it: how the program reads its lines (one-digit keys, a
// value cut at a comma, a quoted value that runs past its line), a file it
// can't read as text at all (UTF-16), and the counters and movies it would
// list wrong. Errors first. `project`, when given, gets the project as the
// program reads it.
std::vector<Finding> projectFileFindings(std::string_view bytes, Project *project = nullptr);

// 2 when the disc could not be checked, 1 when an error or warning was
// found, otherwise 0 (notes are no problems).
int exitStatus(const DiscCheckReport &report);

}  // namespace vidorun
