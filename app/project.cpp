#include "app/project.h"

#include <algorithm>

namespace vidorun {

int counterValue(const QString &counter)
{
    long long value = 0;
    int i = 0;
    while (i < counter.size() && counter.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < counter.size() && (counter.at(i) == QLatin1Char('-') || counter.at(i) == QLatin1Char('+'))) {
        negative = counter.at(i) == QLatin1Char('-');
        ++i;
    }
    for (; i < counter.size() && counter.at(i).isDigit(); ++i) {
        value = value * 10 + counter.at(i).digitValue();
        if (value > 1000000000LL)
            break;
    }
    return int(negative ? -value : value);
}

QString raisedCounter(const QString &counter)
{
    return QString::number(counterValue(counter) + 1);
}

QString loweredCounter(const QString &counter)
{
    return QString::number(counterValue(counter) - 1);
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
