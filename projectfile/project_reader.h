#pragma once

#include "app/project.h"
#include "projectfile/item_reader.h"

#include <optional>
#include <string>
#include <string_view>

namespace vidorun {

// The number at the start of a key's two number characters, as the reader
// reads it: blanks skipped, a sign and a decimal point belong to the number,
// no number gives 0, halves round to the even integer.
int keyNumber(std::string_view twoChars);

// An item's value as the reader cuts it out: from the character at
// `position` (counted from 1; in a UTF-8 file a character is one however
// many bytes it takes) to the end of the item, or nothing when the item is
// shorter.
std::string_view itemValue(const std::string &item, std::size_t position, bool utf8);

struct ReadOutcome {
    bool opened = false;
    // The last project title read, if the file had one: the main window's
    // caption follows it.
    std::optional<std::string> title;
};

// Reads every item of a project file into the project. Recognised keys
// replace the field they name; numbered keys fill their table element and
// raise their counter, whatever their number. Fields whose keys the file
// lacks keep their values. Key numbers outside the tables are skipped.
ReadOutcome readProjectItems(ByteSource &source, Project &project);

// The same for the file at `path`; `opened` is false when it can't be opened.
ReadOutcome readProjectFile(const std::string &path, Project &project);

}  // namespace vidorun
