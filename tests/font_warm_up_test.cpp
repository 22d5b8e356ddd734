// The font warm-up that runs while the program starts.
#include "platform/font_warm_up.h"

#include <QFontDatabase>
#include <QStringList>

#include <gtest/gtest.h>

using vidorun::FontWarmUp;

TEST(FontWarmUp, EndsEvenWhenTheApplicationNeverComes)
{
    // main() could leave before making its QApplication: waiting (or the
    // destructor) must not hang on a thread that waits for it.
    FontWarmUp warmUp;
    warmUp.wait();
    FontWarmUp left;
}

TEST(FontWarmUp, WithTheApplicationTheFontsAreThereForTheWindow)
{
    FontWarmUp warmUp;
    warmUp.applicationReady();
    warmUp.applicationReady();  // harmless twice
    warmUp.wait();
    warmUp.wait();
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
}
