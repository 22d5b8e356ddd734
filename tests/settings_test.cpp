// Settings > project title and cover picture.
#include "child_window_fixture.h"

#include "support/picture_files.h"
#include "ui/descriptions.h"

#include <algorithm>

namespace vidorun::testing {
namespace {

class SettingsTest : public MainWindowTest {
protected:
    // A real picture in the working folder, by its full path.
    std::string pictureFile(const std::string &name, int width = 60, int height = 90)
    {
        writeFile(name, bitmapPicture(width, height));
        return path(name);
    }
    void chooseCover(const std::optional<std::string> &chosen)
    {
        fake.dialogs.answers.push_back(chosen);
        trigger("SELECTCOVER");
    }
    PictureSize cover() { return ui.shownPictureSize(view(), "CoverPicture"); }
    bool placeholderShown() { return view().isVisible("NoPictureText"); }
    bool loaded(const std::string &picture) const
    {
        return std::find(fake.pictures.loaded.begin(), fake.pictures.loaded.end(), picture)
               != fake.pictures.loaded.end();
    }
};

TEST_F(SettingsTest, TheTitleIsAskedForAndShownInTheCaption)
{
    start();
    ASSERT_EQ(view().caption(), "Vidorun");

    // A cancel on a fresh window keeps the empty title but still rewrites
    // the caption.
    trigger("VIDORUNTITLE");
    ASSERT_EQ(fake.input.asked.size(), 1u);
    EXPECT_EQ(fake.input.asked[0].prompt, "Give me a title for your Vidorun project");
    EXPECT_EQ(fake.input.asked[0].title, "Vidorun project title");
    EXPECT_EQ(fake.input.asked[0].defaultAnswer, "");
    EXPECT_EQ(view().caption(), "Vidorun ; ");

    fake.input.answers.push_back("Holiday 2026");
    trigger("VIDORUNTITLE");
    EXPECT_EQ(project().ProjectTitle, "Holiday 2026");
    EXPECT_EQ(view().caption(), "Vidorun ; Holiday 2026");

    // The current title is not offered, and an empty answer keeps it.
    trigger("VIDORUNTITLE");
    EXPECT_EQ(fake.input.asked[2].defaultAnswer, "");
    EXPECT_EQ(project().ProjectTitle, "Holiday 2026");
    EXPECT_EQ(view().caption(), "Vidorun ; Holiday 2026");

    // Blanks are a title.
    fake.input.answers.push_back("   ");
    trigger("VIDORUNTITLE");
    EXPECT_EQ(project().ProjectTitle, "   ");
    EXPECT_EQ(view().caption(), "Vidorun ;    ");
    EXPECT_TRUE(fake.messages.shown.empty());

    // Qt's "modified" placeholder is text like any other, in both captions
    // (that the system shows it as written is checked in qt_front_end_test.cpp).
    fake.input.answers.push_back("Trip [*] 2026 [*][*]");
    trigger("VIDORUNTITLE");
    EXPECT_EQ(view().caption(), "Vidorun ; Trip [*] 2026 [*][*]");
    trigger("CURRENTSETTINGS");
    ASSERT_NE(child(), nullptr);
    EXPECT_TRUE(ui.isShown(childView()));
    EXPECT_EQ(childView().caption(), "Vidorun ; settings for project Trip [*] 2026 [*][*]");
}

TEST_F(SettingsTest, AValidCoverIsShownAtOnce)
{
    start();
    ASSERT_TRUE(placeholderShown());
    const std::string picture = pictureFile("My Cover.jpg");
    chooseCover(picture);

    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const FileDialogRequest &asked = fake.dialogs.uses[0].request;
    EXPECT_EQ(fake.dialogs.uses[0].kind, FileDialogKind::Open);
    EXPECT_EQ(asked.title, "Select your cover picture");
    EXPECT_EQ(asked.filter, "All Files (*.*)|*.*|Cover pictures (*.jpg)|*.jpg");
    EXPECT_EQ(asked.filterIndex, 2);
    EXPECT_EQ(asked.flags, 4);

    EXPECT_EQ(project().CoverPicturePath, picture);
    EXPECT_TRUE(loaded(picture));
    EXPECT_EQ(cover(), (PictureSize{60, 90}));
    EXPECT_FALSE(placeholderShown());
    EXPECT_TRUE(fake.messages.shown.empty());

    // The next dialog starts on this picture; a cancel changes nothing.
    const std::size_t loads = fake.pictures.loaded.size();
    chooseCover(std::nullopt);
    EXPECT_EQ(fake.dialogs.uses[1].request.fileName, picture);
    EXPECT_EQ(project().CoverPicturePath, picture);
    EXPECT_EQ(cover(), (PictureSize{60, 90}));
    EXPECT_EQ(fake.pictures.loaded.size(), loads);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsTest, AMissingCoverIsRefusedAndThePlaceholderShown)
{
    start();
    const std::string picture = pictureFile("COVER.JPG");
    chooseCover(picture);
    ASSERT_FALSE(placeholderShown());

    const std::string missing = path("GONE.JPG");
    chooseCover(missing);
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{
                  {"The file " + missing + " does not exists!", "Shit ... Error!", MsgStyle::Critical}}));
    EXPECT_EQ(project().CoverPicturePath, picture);
    EXPECT_TRUE(placeholderShown());
}

TEST_F(SettingsTest, AFileThatIsNoPictureIsKeptSilently)
{
    start();
    const std::string picture = pictureFile("COVER.JPG", 60, 90);
    chooseCover(picture);
    ASSERT_EQ(cover(), (PictureSize{60, 90}));

    const std::string notes = path("notes.txt");
    writeFile("notes.txt", "these are no pixels");
    chooseCover(notes);
    EXPECT_EQ(project().CoverPicturePath, notes);
    EXPECT_TRUE(loaded(notes));
    EXPECT_EQ(cover(), (PictureSize{60, 90})) << "the picture before stays";
    EXPECT_FALSE(placeholderShown());
    EXPECT_TRUE(fake.messages.shown.empty());
}

// The front end's own picture loading, as every test has it.
TEST_F(SettingsTest, ALargeCoverIsDecodedAtTheFramesSize)
{
    start();
    chooseCover(pictureFile("BIG.JPG", 2000, 3000));
    const ui::Control &frame = *ui::MainWindow.control("CoverPicture");
    const PictureSize decoded = cover();
    ASSERT_NE(decoded, PictureSize{});
    EXPECT_LE(decoded.width, frame.width * 2);
    EXPECT_LE(decoded.height, frame.height * 2);
    EXPECT_FALSE(placeholderShown());
}

}  // namespace
}  // namespace vidorun::testing
