#pragma once

// How far publishing a disc has got, as the author sees it: on a terminal
// one line per disc, written over in place (bytes done, rate, time left);
// elsewhere nothing until the disc is done.
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

class QTextStream;

namespace vidorun {

// "612.4 MB", "3.1 GB": decimal units, as discs are sold.
QString sizeText(qint64 bytes);

// The progress line of a disc: its label, movies and size, a bar, the share
// done, the rate and the time left (each once it is known: 0 and -1 are not),
// within `columns` - 1 characters: a line that fills the terminal's width
// wraps, and is then no longer written over in place.
QString progressLine(const QString &label, int movies, qint64 discBytes, double doneShare, double bytesPerSecond,
                     qint64 secondsLeft, int columns);

class DiscProgress {
public:
    // `work` is what the disc takes in all, in bytes moved; `columns` the
    // terminal's width (0 when not known).
    DiscProgress(QTextStream &out, bool terminal, int columns, const QString &label, int movies, qint64 discBytes,
                 qint64 work);
    // The bytes moved so far; the line is written a few times a second.
    void update(qint64 done);
    // Takes the progress line away, so that the next line starts clean.
    void clear();

private:
    QTextStream &m_out;
    bool m_terminal;
    int m_columns;
    QString m_label;
    int m_movies;
    qint64 m_discBytes;
    qint64 m_work;
    QElapsedTimer m_clock;
    qint64 m_shownAt = -1;
    int m_shownWidth = 0;
};

}  // namespace vidorun
