#pragma once

// How far publishing a disc has got, as the author sees it: on a terminal
// one line per disc, written over in place (bytes done, rate, time left);
// elsewhere nothing until the disc is done.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vidorun {

// "612.4 MB", "3.1 GB": decimal units, as discs are sold.
std::string sizeText(std::int64_t bytes);

// The progress line of a disc: its label, movies and size, a bar, the share
// done, the rate and the time left (each once it is known: 0 and -1 are not),
// within `columns` - 1 characters: a line that fills the terminal's width
// wraps, and is then no longer written over in place.
std::string progressLine(const std::string &label, int movies, std::int64_t discBytes, double doneShare,
                         double bytesPerSecond, std::int64_t secondsLeft, int columns);

class DiscProgress {
public:
    // `out` takes what is written, at once; `work` is what the disc takes in
    // all, in bytes moved; `columns` the terminal's width (0 when not known).
    DiscProgress(std::function<void(std::string_view)> out, bool terminal, int columns, const std::string &label,
                 int movies, std::int64_t discBytes, std::int64_t work);
    // The bytes moved so far; the line is written a few times a second.
    void update(std::int64_t done);
    // Takes the progress line away, so that the next line starts clean.
    void clear();

private:
    std::function<void(std::string_view)> m_out;
    bool m_terminal;
    int m_columns;
    std::string m_label;
    int m_movies;
    std::int64_t m_discBytes;
    std::int64_t m_work;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::int64_t m_shownAt = -1;
    int m_shownWidth = 0;
};

}  // namespace vidorun
