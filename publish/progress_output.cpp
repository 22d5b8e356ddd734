#include "publish/progress_output.h"

#include "base/text.h"
#include "base/utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vidorun {

namespace {

constexpr int MaxBarWidth = 28;
constexpr int MinBarWidth = 10;
constexpr int DefaultColumns = 80;
constexpr std::int64_t ShownEveryMs = 250;
// Before this, the rate says more about the start than about the disc.
constexpr std::int64_t RateAfterMs = 1000;

// The characters of a line, as a terminal counts them: UTF-16 units.
int widthOf(std::string_view text)
{
    return int(utf16Length(text));
}


}  // namespace

std::string sizeText(std::int64_t bytes)
{
    char text[64];
    if (bytes >= 1000LL * 1000 * 1000)
        std::snprintf(text, sizeof text, "%.2f GB", double(bytes) / 1e9);
    else
        std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / 1e6);
    return text;
}

std::string progressLine(const std::string &label, int movies, std::int64_t discBytes, double doneShare,
                         double bytesPerSecond, std::int64_t secondsLeft, int columns)
{
    const double share = std::clamp(doneShare, 0.0, 1.0);
    char text[64];
    std::snprintf(text, sizeof text, "  %3d%%", int(std::floor(share * 100)));
    std::string after = text;
    if (bytesPerSecond > 0)
        after += "  " + sizeText(std::int64_t(bytesPerSecond)) + "/s";
    if (secondsLeft >= 0) {
        std::snprintf(text, sizeof text, "  %lld:%02lld left", static_cast<long long>(secondsLeft / 60),
                      static_cast<long long>(secondsLeft % 60));
        after += text;
    }
    const std::string before = fill("%1  %2 %3  %4  ", {label, std::to_string(movies), movies == 1 ? "movie" : "movies",
                                                          sizeText(discBytes)});
    const int room = columns - 1 - (widthOf(before) + widthOf(after)) - 2;
    const int width = std::clamp(room, MinBarWidth, MaxBarWidth);
    const int filled = int(std::floor(share * width));
    const std::string line = before + '[' + std::string(std::size_t(filled), '#')
                             + std::string(std::size_t(width - filled), '.') + ']' + after;
    return std::string(firstUtf16Units(line, std::size_t(std::max(columns - 1, 0))));
}

DiscProgress::DiscProgress(std::function<void(std::string_view)> out, bool terminal, int columns,
                           const std::string &label, int movies, std::int64_t discBytes, std::int64_t work)
    : m_out(std::move(out)), m_terminal(terminal), m_columns(columns > 0 ? columns : DefaultColumns), m_label(label),
      m_movies(movies), m_discBytes(discBytes), m_work(std::max<std::int64_t>(work, 1))
{
    update(0);
}

void DiscProgress::update(std::int64_t done)
{
    if (!m_terminal)
        return;
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count();
    if (m_shownAt >= 0 && now - m_shownAt < ShownEveryMs)
        return;
    m_shownAt = now;
    const double share = double(done) / double(m_work);
    double rate = 0;
    std::int64_t left = -1;
    if (now >= RateAfterMs && done > 0) {
        rate = double(done) * 1000.0 / double(now);
        left = share < 1 ? std::int64_t(std::ceil(double(m_work - done) / rate)) : 0;
    }
    const std::string line = progressLine(m_label, m_movies, m_discBytes, share, rate, left, m_columns);
    // Written over in place: the rest of a longer line before is blanked.
    const int width = widthOf(line);
    m_out('\r' + line + std::string(std::size_t(std::max(0, m_shownWidth - width)), ' '));
    m_shownWidth = width;
}

void DiscProgress::clear()
{
    if (!m_terminal || m_shownWidth == 0)
        return;
    m_out('\r' + std::string(std::size_t(m_shownWidth), ' ') + '\r');
    m_shownWidth = 0;
}

}  // namespace vidorun
