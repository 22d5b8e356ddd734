#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vidorun {

// Movie numbers are element numbers of the tables: 0 to 100. Element 0 can
// be filled by a key numbered 00 but is never listed, played or written.
constexpr int MaxMovieNumber = 100;
constexpr int MovieTableSize = MaxMovieNumber + 1;

using MovieTable = std::array<std::string, MovieTableSize>;

// The whole project, held by the main window: its settings, the three movie
// tables with their counters, and some state of the running program. Every
// text is UTF-8.
//
// The counters hold decimal text ("0", "1", ... "100"); every change goes
// through raisedCounter()/loweredCounter() and every use as a number through
// counterValue().
struct Project {
    std::int16_t LoopIndex = 0;
    std::string PlatformId;
    std::string TrayState;
    std::string ProjectFile;
    std::string ProjectTitle;
    std::string CoverPicturePath;
    std::string PlayerPath;
    std::string CodecPath;
    std::int16_t KeyNumber = 0;
    MovieTable MovieTitles;
    std::string TitleCount;
    MovieTable MoviePaths;
    std::string PathCount;
    MovieTable MovieCDs;
    std::string CDCount;
    std::string CloseAfterPlay;
};

// A counter's value: the decimal number at the start of its text, 0 when the
// text does not begin with one.
int counterValue(const std::string &counter);
// The counter one higher / one lower, as text without leading zeros.
std::string raisedCounter(const std::string &counter);
std::string loweredCounter(const std::string &counter);

// Number of movies that can be listed: TitleCount, but never past the tables.
int listableMovies(const Project &project);

// A project file numbers its movies with two digits, so it keeps no more
// than 99 of them; a 100th movie would be lost on the next write.
constexpr int MaxStoredMovies = 99;

// Whether one more movie can be added: the project keeps fewer than 99, and
// each of the three tables has room at the end. A hand-made file can fill
// the path or label table while listing few titles.
bool roomForAnotherMovie(const Project &project);

}  // namespace vidorun
