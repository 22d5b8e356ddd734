// Pictures through the system's own decoder, as the frames paint them; and
// a screenshot of each window for a human to look at.
#include "win32ui_support.h"

#include <gtest/gtest.h>

namespace vidorun::ui::win32::test {
namespace {

// quadrants.jpg: 40 x 60 pixels, its quarters red, green, blue and yellow.
constexpr std::uint32_t Red = 0xff0000, Green = 0x00a000, Blue = 0x0000ff, Yellow = 0xffff00;

TEST(Pictures, ACoverFillsItsFrame)
{
    auto cover = loadPicture(VIDORUN_WIN32UI_DIR "/quadrants.jpg");
    ASSERT_NE(cover, nullptr);
    Realised main(MainWindow);
    main.view->setVisible("NoPictureText", false);
    main.view->setPicture("CoverPicture", cover);
    main.view->show();
    UpdateWindow(main.hwnd());
    settle();

    // Inside the frame's one-pixel border: 207 x 327, all picture.
    HWND frame = main.control("CoverPicture");
    const Pixels pixels = capture(frame, false);
    ASSERT_EQ(pixels.width, 207);
    ASSERT_EQ(pixels.height, 327);
    const int right = pixels.width - 1, bottom = pixels.height - 1;
    const struct {
        int x, y;
        std::uint32_t colour;
    } samples[] = {
        {1, 1, Red},       {right / 4, bottom / 4, Red},        {right - 1, 1, Green},   {right * 3 / 4, bottom / 4, Green},
        {1, bottom - 1, Blue}, {right / 4, bottom * 3 / 4, Blue}, {right - 1, bottom - 1, Yellow},
        {right * 3 / 4, bottom * 3 / 4, Yellow},
    };
    for (const auto &sample : samples) {
        EXPECT_TRUE(closeTo(pixels.at(sample.x, sample.y), sample.colour, 16))
            << "at " << sample.x << "," << sample.y << ": " << std::hex << pixels.at(sample.x, sample.y);
    }
    // The border is the frame's own, a line round the picture.
    const Pixels whole = capture(frame, true);
    EXPECT_FALSE(closeTo(whole.at(0, whole.height / 2), Red, 48));
}

TEST(Pictures, AFileThatIsNoPictureGivesNone)
{
    EXPECT_EQ(loadPicture(VIDORUN_WIN32UI_DIR "/win32ui_support.h"), nullptr);
    EXPECT_EQ(loadPicture(VIDORUN_WIN32UI_DIR "/no such picture.jpg"), nullptr);
    EXPECT_NE(loadPicture(VIDORUN_DEMO_DIR "/COVER.JPG"), nullptr);
}

// Writes screenshot-<window>.bmp into the build's screenshots folder: the
// main window with movies in its list and the demo cover, and the child
// windows as they open.
TEST(Pictures, Screenshots)
{
    const std::wstring screenshotFolder = L"" VIDORUN_SCREENSHOT_DIR L"/";
    for (const Window *window : allWindows()) {
        Realised realised(*window);
        const std::wstring name(window->name.begin(), window->name.end());
        if (window->main) {
            // As it opens on a disc without a cover: the placeholder over the frame.
            realised.view->show();
            settle();
            EXPECT_TRUE(writeBmp(capture(realised.hwnd(), true),
                                 screenshotFolder + L"screenshot-" + name + L"-no-cover.bmp"));
            for (const char *movie : {"Holiday 1999", "Birthday & party", "The garden"})
                realised.view->addItem("Movies", movie);
            EXPECT_EQ(realised.view->currentIndex("Movies"), -1);
            realised.view->setCurrentIndex("Movies", 0);
            EXPECT_EQ(realised.view->itemCount("Movies"), 3);
            EXPECT_EQ(realised.view->itemText("Movies", 1), "Birthday & party");
            EXPECT_EQ(realised.view->text("Movies"), "Holiday 1999");
            realised.view->setText("TotalMoviesText", "total number of movies: 3");
            realised.view->setVisible("NoPictureText", false);
            realised.view->setPicture("CoverPicture", loadPicture(VIDORUN_DEMO_DIR "/COVER.JPG"));
        }
        if (window == &RemoveMovieWindow) {
            realised.view->addItem("RemoveMovieList", "Holiday 1999");
            realised.view->addItem("RemoveMovieList", "Birthday & party");
            realised.view->setCurrentIndex("RemoveMovieList", 1);
            EXPECT_EQ(realised.view->currentIndex("RemoveMovieList"), 1);
            EXPECT_EQ(realised.view->itemText("RemoveMovieList", 1), "Birthday & party");
        }
        if (window == &InputBoxWindow) {
            realised.view->setCaption("Vidorun project title");
            realised.view->setText("Prompt", "What is this disc's title?");
            realised.view->setText("Answer", "Holiday 1999");
        }
        realised.view->show();
        settle();
        const Pixels pixels = capture(realised.hwnd(), true);
        RECT box{};
        GetWindowRect(realised.hwnd(), &box);
        EXPECT_EQ(pixels.width, box.right - box.left);
        EXPECT_TRUE(writeBmp(pixels, screenshotFolder + L"screenshot-" + name + L".bmp"));
    }
}

}  // namespace
}  // namespace vidorun::ui::win32::test
