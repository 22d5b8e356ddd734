#include "base/unicode.h"

#include <algorithm>
#include <iterator>

namespace vidorun {

namespace {

// Characters first to last, every `step`th, move by `delta`.
struct CaseRun {
    char32_t first, last;
    unsigned step;
    int delta;
};

// Held in place rather than pointed to: the table is a tenth of the size.
struct AsciiLetters {
    char16_t c;
    char letters[5];  // at most four, and the NUL
};

#include "base/unicode_tables.inc"

template <std::size_t N>
char32_t mapped(const CaseRun (&runs)[N], char32_t c)
{
    const auto after = std::upper_bound(std::begin(runs), std::end(runs), c,
                                        [](char32_t value, const CaseRun &run) { return value < run.first; });
    if (after == std::begin(runs))
        return c;
    const CaseRun &run = *std::prev(after);
    if (c > run.last || (c - run.first) % run.step != 0)
        return c;
    return char32_t(int(c) + run.delta);
}

}  // namespace

char32_t simpleUpper(char32_t c)
{
    return c > 0xFFFF ? c : mapped(UpperRuns, c);
}

char32_t simpleLower(char32_t c)
{
    return c > 0xFFFF ? c : mapped(LowerRuns, c);
}

std::string_view asciiLettersOf(char32_t c)
{
    const auto it = std::lower_bound(std::begin(AsciiOf), std::end(AsciiOf), c,
                                     [](const AsciiLetters &entry, char32_t value) { return entry.c < value; });
    return it != std::end(AsciiOf) && it->c == c ? std::string_view(it->letters) : std::string_view();
}

}  // namespace vidorun
