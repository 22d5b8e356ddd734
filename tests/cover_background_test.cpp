// The cover picture: decoded away from the window, and shown only if it is
// still the cover wanted when it arrives. (The Qt front end's decoding on a
// thread of its own is checked in qt_front_end_test.cpp.)
#include "support/main_window_fixture.h"
#include "support/picture_files.h"

using namespace vidorun;
using namespace vidorun::testing;

namespace {

std::string projectWithCover(const std::string &cover)
{
    return projectText({"the_title=Holiday", "cover=" + cover, "movie01=one.avi", "title01=First",
                        "mdisk01=DISC1"});
}

}  // namespace

// The window comes up while its cover is still being decoded.
class CoverInBackground : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        fake.pictures.deferred = true;
    }
    PictureSize cover() { return ui.shownPictureSize(view(), "CoverPicture"); }
    bool placeholder() { return view().isVisible("NoPictureText"); }
    void writePhoto(const std::string &name, int width, int height) { writeFile(name, bitmapPicture(width, height)); }
};

TEST_F(CoverInBackground, UntilThePictureArrivesTheFrameIsEmptyAndTheListIsThere)
{
    writeFile("Autorun.inf", projectWithCover("cover.jpg"));
    writePhoto("cover.jpg", 40, 60);
    start();
    EXPECT_TRUE(window().coverLoading());
    EXPECT_EQ(cover(), PictureSize{});
    // No "There is no picture loaded!" for a picture that is on its way.
    EXPECT_FALSE(placeholder());
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"First"});

    fake.pictures.finishBackgroundLoads();
    EXPECT_FALSE(window().coverLoading());
    EXPECT_EQ(cover(), (PictureSize{40, 60}));
    EXPECT_FALSE(placeholder());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(CoverInBackground, ACoverThatTurnsOutNoPictureBringsThePlaceholderBack)
{
    writeFile("Autorun.inf", projectWithCover("cover.jpg"));
    writeFile("cover.jpg", "just text");
    start();
    fake.pictures.finishBackgroundLoads();
    EXPECT_FALSE(window().coverLoading());
    EXPECT_EQ(cover(), PictureSize{});
    EXPECT_TRUE(placeholder());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(CoverInBackground, AProjectReadMeanwhileKeepsItsOwnCover)
{
    writeFile("Autorun.inf", projectWithCover("first.jpg"));
    writePhoto("first.jpg", 40, 60);
    writeFile("nocover.inf", projectWithCover(""));
    writeFile("second.inf", projectWithCover("second.jpg"));
    writePhoto("second.jpg", 30, 20);
    start();

    // A project without a cover: the first cover, arriving late, is dropped.
    fake.dialogs.answers.push_back(path("nocover.inf"));
    trigger("OPENINIFILE");
    EXPECT_FALSE(window().coverLoading());
    EXPECT_TRUE(placeholder());
    fake.pictures.finishBackgroundLoads();
    EXPECT_EQ(cover(), PictureSize{});
    EXPECT_TRUE(placeholder());

    // Two covers on their way: only the later one is shown.
    fake.dialogs.answers.push_back(path("Autorun.inf"));
    trigger("OPENINIFILE");
    fake.dialogs.answers.push_back(path("second.inf"));
    trigger("OPENINIFILE");
    fake.pictures.finishBackgroundLoads();
    EXPECT_EQ(cover(), (PictureSize{30, 20}));
    EXPECT_FALSE(placeholder());
}

TEST_F(CoverInBackground, AWindowClosedBeforeItsCoverArrivesIsLeftAlone)
{
    writeFile("Autorun.inf", projectWithCover("cover.jpg"));
    writePhoto("cover.jpg", 40, 60);
    start();
    ASSERT_TRUE(window().coverLoading());
    m_window.reset();
    fake.pictures.finishBackgroundLoads();  // must not touch the window that is gone
}
