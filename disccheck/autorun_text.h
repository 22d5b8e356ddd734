#pragma once

// Autorun.inf as its author wrote it, beside what the program's reader makes
// of it: the values as spelled, the [autorun] lines only Windows reads, and
// the lines the reader takes otherwise than they were meant.
#include "app/project.h"
#include "disccheck/disc_check.h"

#include <array>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun::check {

struct AutorunText {
    bool empty = false;
    // Text the reader can't read at all (UTF-16): its lines say nothing.
    bool unreadable = false;
    // The file begins with UTF-8's byte-order mark; `markHidesKey` when the
    // reader misses the project key on the first line behind it.
    bool byteOrderMark = false;
    bool markHidesKey = false;
    // The reader upper-cases every path; what the author wrote is what a
    // path is compared with the disc's names by.
    std::array<std::string, MovieTableSize> moviePaths;
    std::string cover, player, codec;
    std::optional<std::string> open, icon;  // from the [autorun] section
    // Lines the reader takes in part (a comma, a quote) or from another place
    // than meant (a key spelled otherwise than "movie01="), as findings.
    std::vector<Finding> lineFindings;
    // What such a misread leaves wrong for the program, by the reader's own
    // numbers: movies and labels, and the setting keys ("COVER", "PLAYE",
    // "CODEC"). `meantMovies` are the numbers the author wrote in keys the
    // reader reads as others (100 for "movie100=", read as movie 10).
    std::set<int> misreadMovies, misreadLabels, meantMovies;
    std::set<std::string> misreadSettings;
};

// Goes through Autorun.inf a line at a time, each line read by the
// program's own item reader, so that quotes and commas mean what they mean
// to it. `utf8` says how the reader decodes the file.
AutorunText readAutorunText(std::string_view bytes, bool utf8);

// A project file read both ways: the project as the program reads it (its
// counters from "0", as its start-up sets them), whether it is UTF-8, and
// the text as written.
struct ReadProjectFile {
    Project project;
    bool utf8 = false;
    AutorunText written;
};
ReadProjectFile readProjectFileBytes(std::string_view bytes);

}  // namespace vidorun::check
