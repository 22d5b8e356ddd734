#include "app/project.h"

#include <algorithm>

namespace vidorun {

int counterValue(const std::string &counter)
{
    long long value = 0;
    std::size_t i = 0;
    while (i < counter.size() && counter[i] == ' ')
        ++i;
    bool negative = false;
    if (i < counter.size() && (counter[i] == '-' || counter[i] == '+')) {
        negative = counter[i] == '-';
        ++i;
    }
    for (; i < counter.size() && counter[i] >= '0' && counter[i] <= '9'; ++i) {
        value = value * 10 + (counter[i] - '0');
        if (value > 1000000000LL)
            break;
    }
    return int(negative ? -value : value);
}

std::string raisedCounter(const std::string &counter)
{
    return std::to_string(counterValue(counter) + 1);
}

std::string loweredCounter(const std::string &counter)
{
    return std::to_string(counterValue(counter) - 1);
}

bool roomForAnotherMovie(const Project &project)
{
    return counterValue(project.TitleCount) < MaxStoredMovies && counterValue(project.PathCount) < MaxMovieNumber
           && counterValue(project.CDCount) < MaxMovieNumber;
}

int listableMovies(const Project &project)
{
    return std::clamp(counterValue(project.TitleCount), 0, MaxMovieNumber);
}

}  // namespace vidorun
