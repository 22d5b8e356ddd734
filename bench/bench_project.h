#pragma once

#include "app/project.h"

namespace vidorun::bench {

// A full disc: 99 movies (the most a project file holds), each with a path,
// a title and a CD label of everyday length, and every setting filled.
inline Project project99()
{
    Project p;
    p.ProjectTitle = QStringLiteral("Summer holidays 1998 - 2026");
    p.CoverPicturePath = QStringLiteral("COVER.JPG");
    p.PlayerPath = QStringLiteral("PLAYER\\MPLAYER.EXE");
    p.CodecPath = QStringLiteral("CODEC\\CODEC.EXE");
    p.CloseAfterPlay = QStringLiteral("1");
    for (int n = 1; n <= 99; ++n) {
        const QString nn = QString::number(n).rightJustified(2, QLatin1Char('0'));
        p.MoviePaths[std::size_t(n)] = QStringLiteral("MOVIES\\PART%1\\HOLIDAY%2.AVI").arg((n - 1) / 10 + 1).arg(nn);
        p.MovieTitles[std::size_t(n)] = QStringLiteral("Day %1: a walk along the harbour").arg(n);
        p.MovieCDs[std::size_t(n)] = QStringLiteral("HOLIDAY%1").arg((n - 1) / 33 + 1);
    }
    p.TitleCount = p.PathCount = p.CDCount = QStringLiteral("99");
    return p;
}

}  // namespace vidorun::bench
