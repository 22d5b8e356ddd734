#pragma once

#include "app/project.h"

#include <string>
#include <vector>

namespace vidorun {

// The highest movie number the file can hold: the keys carry two digits.
constexpr int MaxWrittenMovie = 99;

// The movie number as the keys carry it: "01" to "99".
std::string movieNumber(int n);

// One "key=value" line, spelled so that the reader takes the value back
// whole. Most lines are written as they are. A value that the reader would
// cut or trim (a comma in it, blanks or tabs at its end) is written with the
// whole line in double quotes, which the reader takes as one item. A quoted
// item can't hold a double quote, so a value that needs the quotes has its
// double quotes written as single quotes. A line break in a value is
// written as a blank: no value may start a line of its own, which Windows
// AutoRun and every other reader of the file would take as a line like any
// other ("[autorun]", "shell\...\command=").
std::string projectLine(const std::string &key, const std::string &value);

// Whether a value holds a line break, which projectLine() writes as a blank.
bool holdsLineBreak(const std::string &value);
std::string withoutLineBreaks(const std::string &value);

// The lines of the project file for `project`, in order, without line ends:
// the autorun section, the settings, then three lines for each movie from 1
// to TitleCount (up to 99). An empty close switch is written as "0".
std::vector<std::string> projectFileLines(const Project &project);

enum class FileEncoding { CodePage, Utf8 };

struct EncodedLines {
    FileEncoding encoding = FileEncoding::CodePage;
    std::vector<std::string> lines;  // each ending in CR LF
};

// The lines in the system's ANSI code page (Windows-1252 where there is none),
// or in UTF-8 when the reader would not get the same text back from the code
// page: a character the code page can't hold, or code page bytes that happen
// to form UTF-8, which the reader would take as UTF-8. No byte-order mark.
EncodedLines encodeProjectLines(const std::vector<std::string> &lines);

// The project file's bytes, line by line, as WriteProjectFile writes them.
std::vector<std::string> composeProjectFile(const Project &project);
// All of them in one.
std::string projectFileBytes(const Project &project);

}  // namespace vidorun
