#pragma once

// A disc made on Windows as Linux shows a plain ISO 9660 disc: every name in
// lower case, while its Autorun.inf holds upper-case Windows paths with ".\",
// drive letters and backslashes. The files alone, for any test.
#include "support/temporary_folder.h"

#include <string>
#include <vector>

namespace vidorun::testing {

// Lays out the disc in `folder`; `extraLines` go at the end of its
// Autorun.inf. The cover is the demo disc's picture.
inline void makeLowerCaseDisc(const std::string &folder, const std::vector<std::string> &extraLines = {})
{
    writeFileAt(folder + "/cover.jpg", readFileAt(VIDORUN_DEMO_DIR "/COVER.JPG"));
    writeFileAt(folder + "/disc1.ini", "");
    writeFileAt(folder + "/movies/part1.avi", "movie one");
    writeFileAt(folder + "/movies/part2.avi", "movie two");
    writeFileAt(folder + "/player/setup.exe", "player");
    writeFileAt(folder + "/codec/install.exe", "codec");
    std::vector<std::string> lines = {
        "[AUTORUN]", "OPEN=VIDORUN.EXE", "ICON=VIDORUN.EXE,0", "", "[VIDORUN]", "CLOSE=0",
        "THE_TITLE=Our Holiday", "COVER=.\\COVER.JPG", "PLAYER=D:\\PLAYER\\SETUP.EXE", "CODEC=CODEC\\INSTALL.EXE",
        "MOVIE01=D:\\MOVIES\\PART1.AVI", "TITLE01=Part one", "MDISK01=DISC1",
        "MOVIE02=.\\MOVIES\\PART2.AVI", "TITLE02=Part two", "MDISK02=DISC1",
    };
    lines.insert(lines.end(), extraLines.begin(), extraLines.end());
    writeFileAt(folder + "/autorun.inf", projectText(lines));
}

}  // namespace vidorun::testing
