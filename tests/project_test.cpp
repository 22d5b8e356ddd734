#include "app/project.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using namespace vidorun;

TEST(ProjectCounters, CountInDecimalTextWithoutLeadingZeros)
{
    EXPECT_EQ(raisedCounter(QStringLiteral("0")), QStringLiteral("1"));
    EXPECT_EQ(raisedCounter(QStringLiteral("9")), QStringLiteral("10"));
    EXPECT_EQ(raisedCounter(QStringLiteral("99")), QStringLiteral("100"));
    EXPECT_EQ(loweredCounter(QStringLiteral("1")), QStringLiteral("0"));
    EXPECT_EQ(loweredCounter(QStringLiteral("10")), QStringLiteral("9"));
}

TEST(ProjectCounters, ValueIsTheNumberAtTheStart)
{
    EXPECT_EQ(counterValue(QStringLiteral("3")), 3);
    EXPECT_EQ(counterValue(QStringLiteral("")), 0);
    EXPECT_EQ(counterValue(QStringLiteral("12abc")), 12);
    EXPECT_EQ(counterValue(QStringLiteral("abc")), 0);
}

TEST(ProjectCounters, ListingNeverPassesTheTables)
{
    Project p;
    p.TitleCount = QStringLiteral("150");
    EXPECT_EQ(listableMovies(p), 100);
    p.TitleCount = QStringLiteral("-3");
    EXPECT_EQ(listableMovies(p), 0);
    p.TitleCount = QStringLiteral("7");
    EXPECT_EQ(listableMovies(p), 7);
}

TEST(ProjectModel, StartsEmpty)
{
    const Project p;
    EXPECT_TRUE(p.ProjectFile.isEmpty());
    EXPECT_TRUE(p.TrayState.isEmpty());
    EXPECT_TRUE(p.TitleCount.isEmpty());
    EXPECT_EQ(p.LoopIndex, 0);
    EXPECT_EQ(p.KeyNumber, 0);
    for (const QString &t : p.MovieTitles)
        EXPECT_TRUE(t.isEmpty());
}
