// Settings > project title and cover picture.
#include "child_window_fixture.h"

#include "platform/qt_platform.h"

#include <QImage>
#include <QLabel>
#include <QWindow>

namespace vidorun::testing {
namespace {

class SettingsTest : public MainWindowTest {
protected:
    // A real JPEG picture in the working folder, by its full path.
    QString pictureFile(const QString &name, QSize size = QSize(60, 90))
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const QString full = path(name);
        EXPECT_TRUE(picture.save(full, "JPG")) << name.toStdString();
        return full;
    }
    void chooseCover(const std::optional<QString> &chosen)
    {
        fake.dialogs.answers.push_back(chosen);
        trigger("SELECTCOVER");
    }
    QLabel *cover() const { return label("CoverPicture"); }
    bool placeholderShown() const { return label("NoPictureText")->isVisibleTo(m_window.get()); }
};

TEST_F(SettingsTest, TheTitleIsAskedForAndShownInTheCaption)
{
    start();
    ASSERT_EQ(window().windowTitle(), QStringLiteral("Vidorun"));

    // A cancel on a fresh window keeps the empty title but still rewrites
    // the caption.
    trigger("VIDORUNTITLE");
    ASSERT_EQ(fake.input.asked.size(), 1u);
    EXPECT_EQ(fake.input.asked[0].prompt, QStringLiteral("Give me a title for your Vidorun project"));
    EXPECT_EQ(fake.input.asked[0].title, QStringLiteral("Vidorun project title"));
    EXPECT_EQ(fake.input.asked[0].defaultAnswer, QString());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun ; "));

    fake.input.answers.push_back(QStringLiteral("Holiday 2026"));
    trigger("VIDORUNTITLE");
    EXPECT_EQ(project().ProjectTitle, QStringLiteral("Holiday 2026"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun ; Holiday 2026"));

    // The current title is not offered, and an empty answer keeps it.
    trigger("VIDORUNTITLE");
    EXPECT_EQ(fake.input.asked[2].defaultAnswer, QString());
    EXPECT_EQ(project().ProjectTitle, QStringLiteral("Holiday 2026"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun ; Holiday 2026"));

    // Blanks are a title.
    fake.input.answers.push_back(QStringLiteral("   "));
    trigger("VIDORUNTITLE");
    EXPECT_EQ(project().ProjectTitle, QStringLiteral("   "));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun ;    "));
    EXPECT_TRUE(fake.messages.shown.empty());

    // Qt's "modified" placeholder is text like any other, in both captions.
    fake.input.answers.push_back(QStringLiteral("Trip [*] 2026 [*][*]"));
    trigger("VIDORUNTITLE");
    ASSERT_NE(window().windowHandle(), nullptr);
    EXPECT_EQ(window().windowHandle()->title(), QStringLiteral("Vidorun ; Trip [*] 2026 [*][*]"));
    trigger("CURRENTSETTINGS");
    ASSERT_NE(window().openChild(), nullptr);
    window().openChild()->show();
    EXPECT_EQ(window().openChild()->windowHandle()->title(), QStringLiteral("Vidorun ; settings for project Trip [*] 2026 [*][*]"));
}

TEST_F(SettingsTest, AValidCoverIsShownAtOnce)
{
    start();
    ASSERT_TRUE(placeholderShown());
    const QString picture = pictureFile(QStringLiteral("My Cover.jpg"));
    chooseCover(picture);

    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const FileDialogRequest &asked = fake.dialogs.uses[0].request;
    EXPECT_EQ(fake.dialogs.uses[0].kind, FileDialogKind::Open);
    EXPECT_EQ(asked.title, QStringLiteral("Select your cover picture"));
    EXPECT_EQ(asked.filter, QStringLiteral("All Files (*.*)|*.*|Cover pictures (*.jpg)|*.jpg"));
    EXPECT_EQ(asked.filterIndex, 2);
    EXPECT_EQ(asked.flags, 4);

    EXPECT_EQ(project().CoverPicturePath, picture);
    EXPECT_TRUE(fake.pictures.loaded.contains(picture));
    EXPECT_FALSE(cover()->pixmap().isNull());
    EXPECT_FALSE(placeholderShown());
    EXPECT_TRUE(fake.messages.shown.empty());

    // The next dialog starts on this picture; a cancel changes nothing.
    const qint64 shown = cover()->pixmap().cacheKey();
    chooseCover(std::nullopt);
    EXPECT_EQ(fake.dialogs.uses[1].request.fileName, picture);
    EXPECT_EQ(project().CoverPicturePath, picture);
    EXPECT_EQ(cover()->pixmap().cacheKey(), shown);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsTest, AMissingCoverIsRefusedAndThePlaceholderShown)
{
    start();
    const QString picture = pictureFile(QStringLiteral("COVER.JPG"));
    chooseCover(picture);
    ASSERT_FALSE(placeholderShown());

    const QString missing = path(QStringLiteral("GONE.JPG"));
    chooseCover(missing);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "The file " + missing + " does not exists!");
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Shit ... Error!"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_EQ(project().CoverPicturePath, picture);
    EXPECT_TRUE(placeholderShown());
}

TEST_F(SettingsTest, AFileThatIsNoPictureIsKeptSilently)
{
    start();
    const QString picture = pictureFile(QStringLiteral("COVER.JPG"));
    chooseCover(picture);
    const qint64 shown = cover()->pixmap().cacheKey();

    const QString notes = path(QStringLiteral("notes.txt"));
    writeFile(QStringLiteral("notes.txt"), "these are no pixels");
    chooseCover(notes);
    EXPECT_EQ(project().CoverPicturePath, notes);
    EXPECT_EQ(cover()->pixmap().cacheKey(), shown);
    EXPECT_FALSE(placeholderShown());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsTest, ALargeCoverIsDecodedAtTheFramesSize)
{
    // The program's own picture loader, on an otherwise fake platform.
    QtPictureLoader loader;
    Platform platform = fake.platform();
    Platform withLoader{platform.messages, platform.input, platform.dialogs, platform.launcher,
                        platform.media,    platform.system, platform.files,  loader};
    m_window = std::make_unique<VidorunMain>(withLoader);
    m_window->show();

    chooseCover(pictureFile(QStringLiteral("BIG.JPG"), QSize(2000, 3000)));
    const QSize frame = cover()->size();
    const QSize decoded = cover()->pixmap().size();
    ASSERT_FALSE(decoded.isEmpty());
    EXPECT_LE(decoded.width(), frame.width() * 2);
    EXPECT_LE(decoded.height(), frame.height() * 2);
    EXPECT_FALSE(placeholderShown());
}

}  // namespace
}  // namespace vidorun::testing
