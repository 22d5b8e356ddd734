// Cover pictures from an untrusted disc, through the front end's picture
// loader: a picture is shown or the placeholder stays. (How far the Qt
// front end decodes a hostile picture, and what it may cost, is checked in
// qt_front_end_test.cpp.)
#include "support/main_window_fixture.h"
#include "support/picture_files.h"

#include <gtest/gtest.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

class CoverPictureTest : public MainWindowTest {
protected:
    // File > Read, which shows the cover as start-up does; the loader
    // decodes it in the background, so wait for it to arrive.
    void readProject(const std::string &name)
    {
        fake.dialogs.answers.push_back(path(name));
        trigger("OPENINIFILE");
        EXPECT_TRUE(ui.waitFor([this] { return !window().coverLoading(); }));
    }
};

TEST_F(CoverPictureTest, ARefusedCoverLeavesThePlaceholder)
{
    const std::string lie = jpegAnnouncing(readFileAt(VIDORUN_DEMO_DIR "/COVER.JPG"), 60000, 60000);
    ASSERT_NE(lie, "");
    writeFile("Lie.inf", projectText({"[vidorun]", "cover=LIE.JPG"}));
    writeFile("LIE.JPG", lie);
    start();
    readProject("Lie.inf");
    EXPECT_TRUE(fake.messages.shown.empty()) << "the file is there; it is only no picture";
    EXPECT_TRUE(view().isVisible("NoPictureText"));
    EXPECT_FALSE(ui.showsPicture(view(), "CoverPicture"));
}

TEST_F(CoverPictureTest, APngNamedJpgIsShown)
{
    writeFile("Png.inf", projectText({"[vidorun]", "cover=COVER.JPG"}));
    writeFile("COVER.JPG", pngPicture(30, 20));
    start();
    readProject("Png.inf");
    EXPECT_FALSE(view().isVisible("NoPictureText"));
    EXPECT_EQ(ui.shownPictureSize(view(), "CoverPicture"), (PictureSize{30, 20}));
}

}  // namespace
