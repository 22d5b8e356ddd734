#pragma once

#include "support/temporary_folder.h"

#include <string>

namespace vidorun::testing {

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
