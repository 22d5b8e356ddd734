#pragma once

#include <QTest>

#include <gtest/gtest.h>

// Qt Test's QTRY_* macros report to Qt Test, which GoogleTest never hears of:
// a failing one only returns from the test, which then passes. These wait
// the same way (processing events, up to five seconds) and then check with
// GoogleTest.
#define EXPECT_EVENTUALLY_EQ(actual, expected)                                 \
    do {                                                                       \
        (void)QTest::qWaitFor([&] { return bool((actual) == (expected)); }, 5000); \
        EXPECT_EQ(actual, expected);                                           \
    } while (false)

#define EXPECT_EVENTUALLY_TRUE(condition)                                      \
    do {                                                                       \
        (void)QTest::qWaitFor([&] { return bool(condition); }, 5000);         \
        EXPECT_TRUE(condition);                                                \
    } while (false)
