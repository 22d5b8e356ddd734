#pragma once

// Autorun.inf as its author wrote it, beside what the program's reader makes
// of it: the values as spelled, the [autorun] lines only Windows reads, and
// the lines the reader takes otherwise than they were meant.
#include "app/project.h"
#include "disccheck/disc_check.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace vidorun::check {

struct AutorunText {
    // The reader upper-cases every path; what the author wrote is what a
    // path is compared with the disc's names by.
    std::array<QString, MovieTableSize> moviePaths;
    QString cover, player, codec;
    std::optional<QString> open, icon;  // from the [autorun] section
    std::vector<Finding> cutValues;     // values the reader takes only in part
};

// Goes through Autorun.inf a line at a time, each line read by the
// program's own item reader, so that quotes and commas mean what they mean
// to it. `utf8` says how the reader decodes the file.
AutorunText readAutorunText(const QByteArray &bytes, bool utf8);

}  // namespace vidorun::check
