#include "publish/progress_output.h"

#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace vidorun {

namespace {

constexpr int MaxBarWidth = 28;
constexpr int MinBarWidth = 10;
constexpr int DefaultColumns = 80;
constexpr qint64 ShownEveryMs = 250;
// Before this, the rate says more about the start than about the disc.
constexpr qint64 RateAfterMs = 1000;

}  // namespace

QString sizeText(qint64 bytes)
{
    if (bytes >= 1000LL * 1000 * 1000)
        return QString::number(double(bytes) / 1e9, 'f', 2) + QStringLiteral(" GB");
    return QString::number(double(bytes) / 1e6, 'f', 1) + QStringLiteral(" MB");
}

QString progressLine(const QString &label, int movies, qint64 discBytes, double doneShare, double bytesPerSecond,
                     qint64 secondsLeft, int columns)
{
    const double share = std::clamp(doneShare, 0.0, 1.0);
    QString after = QStringLiteral("  %1%").arg(int(std::floor(share * 100)), 3);
    if (bytesPerSecond > 0)
        after += QStringLiteral("  %1/s").arg(sizeText(qint64(bytesPerSecond)));
    if (secondsLeft >= 0) {
        after += QStringLiteral("  %1:%2 left")
                     .arg(secondsLeft / 60)
                     .arg(secondsLeft % 60, 2, 10, QLatin1Char('0'));
    }
    const QString before = QStringLiteral("%1  %2 %3  %4  ")
                               .arg(label)
                               .arg(movies)
                               .arg(movies == 1 ? QStringLiteral("movie") : QStringLiteral("movies"))
                               .arg(sizeText(discBytes));
    const int room = columns - 1 - int(before.size() + after.size()) - 2;
    const int width = std::clamp(room, MinBarWidth, MaxBarWidth);
    const int filled = int(std::floor(share * width));
    const QString line = before + QLatin1Char('[') + QString(filled, QLatin1Char('#'))
                         + QString(width - filled, QLatin1Char('.')) + QLatin1Char(']') + after;
    return line.left(columns - 1);
}

DiscProgress::DiscProgress(QTextStream &out, bool terminal, int columns, const QString &label, int movies,
                           qint64 discBytes, qint64 work)
    : m_out(out), m_terminal(terminal), m_columns(columns > 0 ? columns : DefaultColumns), m_label(label), m_movies(movies), m_discBytes(discBytes),
      m_work(std::max<qint64>(work, 1))
{
    m_clock.start();
    update(0);
}

void DiscProgress::update(qint64 done)
{
    if (!m_terminal)
        return;
    const qint64 now = m_clock.elapsed();
    if (m_shownAt >= 0 && now - m_shownAt < ShownEveryMs)
        return;
    m_shownAt = now;
    const double share = double(done) / double(m_work);
    double rate = 0;
    qint64 left = -1;
    if (now >= RateAfterMs && done > 0) {
        rate = double(done) * 1000.0 / double(now);
        left = share < 1 ? qint64(std::ceil(double(m_work - done) / rate)) : 0;
    }
    const QString line = progressLine(m_label, m_movies, m_discBytes, share, rate, left, m_columns);
    // Written over in place: the rest of a longer line before is blanked.
    m_out << '\r' << line << QString(std::max(0, m_shownWidth - int(line.size())), QLatin1Char(' '));
    m_out.flush();
    m_shownWidth = int(line.size());
}

void DiscProgress::clear()
{
    if (!m_terminal || m_shownWidth == 0)
        return;
    m_out << '\r' << QString(m_shownWidth, QLatin1Char(' ')) << '\r';
    m_out.flush();
    m_shownWidth = 0;
}

}  // namespace vidorun
