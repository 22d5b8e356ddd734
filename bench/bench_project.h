#pragma once

#include "app/project.h"

#include <cstdio>
#include <string>

namespace vidorun::bench {

// A full disc: 99 movies (the most a project file holds), each with a path,
// a title and a CD label of everyday length, and every setting filled.
inline Project project99()
{
    Project p;
    p.ProjectTitle = "Summer holidays 1998 - 2026";
    p.CoverPicturePath = "COVER.JPG";
    p.PlayerPath = "PLAYER\\MPLAYER.EXE";
    p.CodecPath = "CODEC\\CODEC.EXE";
    p.CloseAfterPlay = std::string("1");  // moved in: GCC 12 takes the one-letter copy for an overlap
    for (int n = 1; n <= 99; ++n) {
        char text[64];
        std::snprintf(text, sizeof text, "MOVIES\\PART%d\\HOLIDAY%02d.AVI", (n - 1) / 10 + 1, n);
        p.MoviePaths[std::size_t(n)] = text;
        p.MovieTitles[std::size_t(n)] = "Day " + std::to_string(n) + ": a walk along the harbour";
        p.MovieCDs[std::size_t(n)] = "HOLIDAY" + std::to_string((n - 1) / 33 + 1);
    }
    p.TitleCount = p.PathCount = p.CDCount = "99";
    return p;
}

}  // namespace vidorun::bench
