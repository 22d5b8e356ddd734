#include "app/project.h"

#include <gtest/gtest.h>

using namespace vidorun;

TEST(ProjectCounters, CountInDecimalTextWithoutLeadingZeros)
{
    EXPECT_EQ(raisedCounter("0"), "1");
    EXPECT_EQ(raisedCounter("9"), "10");
    EXPECT_EQ(raisedCounter("99"), "100");
    EXPECT_EQ(loweredCounter("1"), "0");
    EXPECT_EQ(loweredCounter("10"), "9");
}

TEST(ProjectCounters, ValueIsTheNumberAtTheStart)
{
    EXPECT_EQ(counterValue("3"), 3);
    EXPECT_EQ(counterValue(""), 0);
    EXPECT_EQ(counterValue("12abc"), 12);
    EXPECT_EQ(counterValue("abc"), 0);
}

TEST(ProjectCounters, ListingNeverPassesTheTables)
{
    Project p;
    p.TitleCount = "150";
    EXPECT_EQ(listableMovies(p), 100);
    p.TitleCount = "-3";
    EXPECT_EQ(listableMovies(p), 0);
    p.TitleCount = "7";
    EXPECT_EQ(listableMovies(p), 7);
}

TEST(ProjectModel, StartsEmpty)
{
    const Project p;
    EXPECT_EQ(p.ProjectFile, "");
    EXPECT_EQ(p.TrayState, "");
    EXPECT_EQ(p.TitleCount, "");
    EXPECT_EQ(p.LoopIndex, 0);
    EXPECT_EQ(p.KeyNumber, 0);
    for (const std::string &t : p.MovieTitles)
        EXPECT_EQ(t, "");
}
