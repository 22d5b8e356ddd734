// The cover picture: decoded at the size of its frame, away from the window,
// and shown only if it is still the cover wanted when it arrives.
#include "platform/qt_platform.h"
#include "support/main_window_fixture.h"

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <optional>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

void writePhoto(const QString &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(path, "JPG"));
}

const QSize CoverFrame(209, 329);

}  // namespace

class QtPictureLoading : public WorkingFolderTest {
protected:
    QtPictureLoader loader;
};

TEST_F(QtPictureLoading, ALargePhotoIsDecodedAtTheSizeOfItsFrame)
{
    writePhoto(path(QStringLiteral("big.jpg")), 1200, 1600);
    // Kept in proportion, just covering the frame.
    EXPECT_EQ(loader.load(path(QStringLiteral("big.jpg")), CoverFrame).size(), QSize(246, 329));
    writePhoto(path(QStringLiteral("small.jpg")), 40, 60);
    EXPECT_EQ(loader.load(path(QStringLiteral("small.jpg")), CoverFrame).size(), QSize(40, 60));
}

TEST_F(QtPictureLoading, InTheBackgroundThePictureArrivesOnTheReceiversThread)
{
    writePhoto(path(QStringLiteral("big.jpg")), 1200, 1600);
    QObject receiver;
    std::optional<QImage> arrived;
    QThread *arrivedOn = nullptr;
    loader.loadInBackground(path(QStringLiteral("big.jpg")), CoverFrame, &receiver, [&](const QImage &picture) {
        arrived = picture;
        arrivedOn = QThread::currentThread();
    });
    EXPECT_FALSE(arrived);  // not while the caller waits
    QTRY_VERIFY(arrived.has_value());
    EXPECT_EQ(arrived->size(), QSize(246, 329));
    EXPECT_EQ(arrivedOn, receiver.thread());
}

TEST_F(QtPictureLoading, AWindowNotShownYetGetsItsPictureAfterItsFirstFrame)
{
    writePhoto(path(QStringLiteral("big.jpg")), 1200, 1600);
    QWidget window;
    window.resize(300, 200);
    bool painted = false;
    std::optional<QImage> arrived;
    loader.loadInBackground(path(QStringLiteral("big.jpg")), CoverFrame, &window, [&](const QImage &picture) {
        arrived = picture;
        EXPECT_TRUE(painted);
    });
    QTest::qWait(100);
    EXPECT_FALSE(arrived);  // nothing is decoded for a window that is not up
    struct PaintSeen : QObject {
        bool &seen;
        explicit PaintSeen(bool &s) : seen(s) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                seen = true;
            return false;
        }
    } paintSeen(painted);
    window.installEventFilter(&paintSeen);
    window.show();
    QTRY_VERIFY(arrived.has_value());
    EXPECT_EQ(arrived->size(), QSize(246, 329));
}

TEST_F(QtPictureLoading, AWindowGoneBeforeItsFirstFrameGetsNothing)
{
    writePhoto(path(QStringLiteral("big.jpg")), 1200, 1600);
    bool arrived = false;
    auto *window = new QWidget;
    loader.loadInBackground(path(QStringLiteral("big.jpg")), CoverFrame, window, [&](const QImage &) { arrived = true; });
    delete window;
    QTest::qWait(100);
    EXPECT_FALSE(arrived);
}

TEST_F(QtPictureLoading, InTheBackgroundAFileThatIsNoPictureGivesANullPicture)
{
    writeFile(QStringLiteral("text.jpg"), "just text");
    QObject receiver;
    std::optional<QImage> arrived;
    loader.loadInBackground(path(QStringLiteral("text.jpg")), CoverFrame, &receiver,
                            [&](const QImage &picture) { arrived = picture; });
    QTRY_VERIFY(arrived.has_value());
    EXPECT_TRUE(arrived->isNull());
}

TEST_F(QtPictureLoading, AReceiverGoneBeforeThePictureIsDecodedGetsNothing)
{
    writePhoto(path(QStringLiteral("big.jpg")), 1200, 1600);
    bool arrived = false;
    {
        QtPictureLoader loader;
        auto *receiver = new QObject;
        loader.loadInBackground(path(QStringLiteral("big.jpg")), CoverFrame, receiver,
                                [&](const QImage &) { arrived = true; });
        delete receiver;
    }  // the loader waits for its decoding to end
    QCoreApplication::processEvents();
    QTest::qWait(20);
    EXPECT_FALSE(arrived);
}

namespace {

QByteArray projectWithCover(const QString &cover)
{
    return projectFileBytes({"the_title=Holiday", "cover=" + cover, "movie01=one.avi", "title01=First",
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
    QLabel *cover() const { return label("CoverPicture"); }
    QLabel *placeholder() const { return label("NoPictureText"); }
};

TEST_F(CoverInBackground, UntilThePictureArrivesTheFrameIsEmptyAndTheListIsThere)
{
    writeFile(QStringLiteral("Autorun.inf"), projectWithCover(QStringLiteral("cover.jpg")));
    writePhoto(path(QStringLiteral("cover.jpg")), 40, 60);
    start();
    EXPECT_TRUE(window().coverLoading());
    EXPECT_TRUE(cover()->pixmap().isNull());
    // No "There is no picture loaded!" for a picture that is on its way.
    EXPECT_FALSE(placeholder()->isVisible());
    EXPECT_EQ(listedTitles(), QStringList{"First"});

    fake.pictures.finishBackgroundLoads();
    EXPECT_FALSE(window().coverLoading());
    EXPECT_EQ(cover()->pixmap().size(), QSize(40, 60));
    EXPECT_FALSE(placeholder()->isVisible());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(CoverInBackground, ACoverThatTurnsOutNoPictureBringsThePlaceholderBack)
{
    writeFile(QStringLiteral("Autorun.inf"), projectWithCover(QStringLiteral("cover.jpg")));
    writeFile(QStringLiteral("cover.jpg"), "just text");
    start();
    fake.pictures.finishBackgroundLoads();
    EXPECT_FALSE(window().coverLoading());
    EXPECT_TRUE(cover()->pixmap().isNull());
    EXPECT_TRUE(placeholder()->isVisible());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(CoverInBackground, AProjectReadMeanwhileKeepsItsOwnCover)
{
    writeFile(QStringLiteral("Autorun.inf"), projectWithCover(QStringLiteral("first.jpg")));
    writePhoto(path(QStringLiteral("first.jpg")), 40, 60);
    writeFile(QStringLiteral("nocover.inf"), projectWithCover(QString()));
    writeFile(QStringLiteral("second.inf"), projectWithCover(QStringLiteral("second.jpg")));
    writePhoto(path(QStringLiteral("second.jpg")), 30, 20);
    start();

    // A project without a cover: the first cover, arriving late, is dropped.
    fake.dialogs.answers.push_back(path(QStringLiteral("nocover.inf")));
    trigger("OPENINIFILE");
    EXPECT_FALSE(window().coverLoading());
    EXPECT_TRUE(placeholder()->isVisible());
    fake.pictures.finishBackgroundLoads();
    EXPECT_TRUE(cover()->pixmap().isNull());
    EXPECT_TRUE(placeholder()->isVisible());

    // Two covers on their way: only the later one is shown.
    fake.dialogs.answers.push_back(path(QStringLiteral("Autorun.inf")));
    trigger("OPENINIFILE");
    fake.dialogs.answers.push_back(path(QStringLiteral("second.inf")));
    trigger("OPENINIFILE");
    fake.pictures.finishBackgroundLoads();
    EXPECT_EQ(cover()->pixmap().size(), QSize(30, 20));
    EXPECT_FALSE(placeholder()->isVisible());
}

TEST_F(CoverInBackground, AWindowClosedBeforeItsCoverArrivesIsLeftAlone)
{
    writeFile(QStringLiteral("Autorun.inf"), projectWithCover(QStringLiteral("cover.jpg")));
    writePhoto(path(QStringLiteral("cover.jpg")), 40, 60);
    start();
    m_window.reset();
    fake.pictures.finishBackgroundLoads();  // must not touch the window that is gone
}
