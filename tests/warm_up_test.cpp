// The warm-up that runs while the program starts.
#include "ui/qt/warm_up.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QStringList>

#include <gtest/gtest.h>

using vidorun::WarmUp;

TEST(WarmUp, EndsEvenWhenTheApplicationNeverComes)
{
    // main() could leave before making its QApplication: waiting (or the
    // destructor) must not hang on a thread that waits for it.
    WarmUp warmUp;
    warmUp.wait();
    WarmUp left;
}

TEST(WarmUp, WithTheApplicationTheFontsAndPicturesAreThereForTheWindow)
{
    WarmUp warmUp;
    warmUp.applicationReady();
    warmUp.applicationReady();  // harmless twice
    warmUp.wait();
    warmUp.wait();
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
    EXPECT_TRUE(QImageReader::supportedImageFormats().contains("jpeg"));
}
