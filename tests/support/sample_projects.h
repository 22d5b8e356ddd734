#pragma once

#include "support/temporary_folder.h"

#include <string>
#include <vector>

namespace vidorun::testing {

// A movie's number as its keys carry it: two digits up to 99.
inline std::string twoDigits(int number)
{
    return (number < 10 ? "0" : "") + std::to_string(number);
}

// Adds movie `number` to a project's lines: movieNN=path, titleNN=title,
// mdiskNN=label.
inline void addMovieLines(std::vector<std::string> &lines, int number, const std::string &path,
                          const std::string &title, const std::string &label)
{
    const std::string nn = twoDigits(number);
    lines.insert(lines.end(), {"movie" + nn + "=" + path, "title" + nn + "=" + title, "mdisk" + nn + "=" + label});
}

// A project file exactly as the writer lays it out (a comma title quoted),
// so that saving what was read gives the same bytes.
inline std::string holidayProject()
{
    return projectText({
        "[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]",
        "close=1", "the_title=Holiday 2026", "cover=", "player=SETUP\\PLAYER.EXE", "codec=",
        "movie01=MOVIES\\SUNRISE.AVI", "\"title01=Sunrise, over the bay\"", "mdisk01=HOLIDAY1",
        "movie02=MOVIES\\HARBOUR.AVI", "title02=The harbour at noon", "mdisk02=HOLIDAY2",
    });
}

}  // namespace vidorun::testing
