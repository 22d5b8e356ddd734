#pragma once

// A disc made on Windows as Linux shows a plain ISO 9660 disc: every name in
// lower case, while its Autorun.inf holds upper-case Windows paths with ".\",
// drive letters and backslashes.
#include "support/main_window_fixture.h"

#include <QDir>
#include <QImage>

namespace vidorun::testing {

class LowerCaseDiscTest : public MainWindowTest {
protected:
    // Lays out the disc in the working folder; `extraLines` go at the end of
    // its Autorun.inf.
    void makeDisc(const QStringList &extraLines = {})
    {
        writePicture(QStringLiteral("cover.jpg"), Qt::red);
        writeFile(QStringLiteral("disc1.ini"), "");
        writeFile(QStringLiteral("movies/part1.avi"), "movie one");
        writeFile(QStringLiteral("movies/part2.avi"), "movie two");
        writeFile(QStringLiteral("player/setup.exe"), "player");
        writeFile(QStringLiteral("codec/install.exe"), "codec");
        QStringList lines = {
            QStringLiteral("[AUTORUN]"),
            QStringLiteral("OPEN=VIDORUN.EXE"),
            QStringLiteral("ICON=VIDORUN.EXE,0"),
            QString(),
            QStringLiteral("[VIDORUN]"),
            QStringLiteral("CLOSE=0"),
            QStringLiteral("THE_TITLE=Our Holiday"),
            QStringLiteral("COVER=.\\COVER.JPG"),
            QStringLiteral("PLAYER=D:\\PLAYER\\SETUP.EXE"),
            QStringLiteral("CODEC=CODEC\\INSTALL.EXE"),
            QStringLiteral("MOVIE01=D:\\MOVIES\\PART1.AVI"),
            QStringLiteral("TITLE01=Part one"),
            QStringLiteral("MDISK01=DISC1"),
            QStringLiteral("MOVIE02=.\\MOVIES\\PART2.AVI"),
            QStringLiteral("TITLE02=Part two"),
            QStringLiteral("MDISK02=DISC1"),
        };
        lines += extraLines;
        writeFile(QStringLiteral("autorun.inf"), projectFileBytes(lines));
    }

    void writePicture(const QString &name, Qt::GlobalColor colour)
    {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(colour);
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        ASSERT_TRUE(picture.save(path(name), "JPG")) << name.toStdString();
    }
};

}  // namespace vidorun::testing
