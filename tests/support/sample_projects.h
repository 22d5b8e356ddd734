#pragma once

#include "support/main_window_fixture.h"

namespace vidorun::testing {

// A project file exactly as the writer lays it out (a comma title quoted),
// so that saving what was read gives the same bytes.
inline QByteArray holidayProject()
{
    return projectFileBytes({
        "[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]",
        "close=1", "the_title=Holiday 2026", "cover=", "player=SETUP\\PLAYER.EXE", "codec=",
        "movie01=MOVIES\\SUNRISE.AVI", "\"title01=Sunrise, over the bay\"", "mdisk01=HOLIDAY1",
        "movie02=MOVIES\\HARBOUR.AVI", "title02=The harbour at noon", "mdisk02=HOLIDAY2",
    });
}

}  // namespace vidorun::testing
