// Cover pictures from an untrusted disc, through the real picture loader: a
// picture is shown or the placeholder stays, and no header can make the
// program decode more than the frame needs.
#include "platform/qt_platform.h"
#include "support/main_window_fixture.h"
#include "support/process_memory.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

// The size of the main window's cover frame.
const QSize Frame(209, 329);
constexpr qint64 AllowedGrowthKb = 8 * 1024;

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 80);
    return bytes;
}

// A JPEG with some detail in it, so that it has scan data worth cutting.
QByteArray jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x * 7 % 256, y * 3 % 256, (x ^ y) % 256);
    }
    return encoded(image, "JPG");
}

// The same JPEG with a header that claims another size.
QByteArray announcing(QByteArray jpegBytes, int width, int height)
{
    for (qsizetype i = 2; i + 9 < jpegBytes.size(); ++i) {
        const auto marker = quint8(jpegBytes[i + 1]);
        if (quint8(jpegBytes[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            // marker, length (2), precision (1), height (2), width (2)
            jpegBytes[i + 5] = char(height >> 8);
            jpegBytes[i + 6] = char(height & 0xFF);
            jpegBytes[i + 7] = char(width >> 8);
            jpegBytes[i + 8] = char(width & 0xFF);
            return jpegBytes;
        }
    }
    ADD_FAILURE() << "no frame header in the JPEG";
    return jpegBytes;
}

class CoverPictureTest : public MainWindowTest {
protected:
    // Loads through the real loader, measuring how far the process's peak
    // memory grows meanwhile.
    QImage loadMeasured(const QString &name, qint64 &growthKb)
    {
        QImage image;
        growthKb = ProcessMemory::peakGrowthKb([&] { image = m_loader.load(path(name), Frame); });
        return image;
    }

    // The main window on the fake services, but with the real picture loader.
    void startWithRealPictures()
    {
        Platform platform = fake.platform();
        m_window = std::make_unique<VidorunMain>(Platform{platform.messages, platform.input, platform.dialogs,
                                                          platform.launcher, platform.media, platform.system,
                                                          platform.files, m_loader});
        m_window->show();
    }

    // File > Read, which shows the cover as start-up does; the real loader
    // decodes it in the background, so wait for it to arrive.
    void readProject(const QString &name)
    {
        fake.dialogs.answers.push_back(path(name));
        trigger("OPENINIFILE");
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_window->coverLoading(); }, 5000));
    }

    QtPictureLoader m_loader;
};

TEST_F(CoverPictureTest, APhotoIsDecodedAtTheFramesSize)
{
    writeFile("PHOTO.JPG", jpeg(2400, 1800));
    qint64 growthKb = 0;
    const QImage image = loadMeasured("PHOTO.JPG", growthKb);
    ASSERT_FALSE(image.isNull());
    // Filling the frame takes 439 × 329; the whole photo would be 17 MB.
    EXPECT_GE(image.height(), Frame.height());
    EXPECT_LE(image.width(), 450);
    if (!SanitizerBuild && growthKb >= 0) {
        EXPECT_LT(growthKb, AllowedGrowthKb);
    }
}

TEST_F(CoverPictureTest, ALongThinPictureIsNotScaledUpAlongItsShortSide)
{
    writeFile("STRIP.JPG", jpeg(8, 6000));
    const QImage image = m_loader.load(path("STRIP.JPG"), Frame);
    EXPECT_EQ(image.size(), QSize(8, 6000));
}

// How each hostile cover ends: shown (as far as it could be decoded), or
// refused so that the placeholder stays; never more than a few MB decoded.
TEST_F(CoverPictureTest, HostileCoversAreShownOrRefusedWithinAFewMegabytes)
{
    const QByteArray photo = jpeg(640, 480);
    QImage pngImage(300, 200, QImage::Format_RGB32);
    pngImage.fill(Qt::darkGreen);
    struct Case {
        const char *name;
        QByteArray bytes;
        QSize shown;  // empty: refused
    };
    const Case cases[] = {
        {"an empty file", QByteArray(), QSize()},
        {"a JPEG cut inside its header", photo.left(100), QSize()},
        {"a JPEG cut halfway, shown with its lower part grey", photo.left(photo.size() / 2),
         QSize(640, 480).scaled(Frame, Qt::KeepAspectRatioByExpanding)},
        {"a header announcing 60000 x 60000 pixels", announcing(photo, 60000, 60000), QSize()},
        {"a header announcing 12001 x 12000 pixels, just over the limit", announcing(photo, 12001, 12000), QSize()},
        {"a PNG named .JPG", encoded(pngImage, "PNG"), QSize(300, 200)},
        {"text named .JPG", QByteArray("[autorun]\r\nOPEN=Vidorun.exe\r\n"), QSize()},
        {"NUL bytes named .JPG", QByteArray(4096, '\0'), QSize()},
        {"a JPEG start followed by junk", QByteArray("\xFF\xD8\xFF\xE0") + QByteArray(5000, '\xFF'), QSize()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("COVER.JPG", c.bytes);
        qint64 growthKb = 0;
        const QImage image = loadMeasured("COVER.JPG", growthKb);
        std::printf("[ figures  ] cover, %s: %s, peak grew by %lld kB\n", c.name,
                    image.isNull() ? "refused" : "shown", static_cast<long long>(growthKb));
        EXPECT_EQ(image.isNull() ? QSize() : image.size(), c.shown);
        if (!SanitizerBuild && growthKb >= 0) {
            EXPECT_LT(growthKb, AllowedGrowthKb);
        }
    }
}

TEST_F(CoverPictureTest, ARefusedCoverLeavesThePlaceholder)
{
    writeFile("Lie.inf", projectFileBytes({"[vidorun]", "cover=LIE.JPG"}));
    writeFile("LIE.JPG", announcing(jpeg(640, 480), 60000, 60000));
    startWithRealPictures();
    readProject("Lie.inf");
    EXPECT_TRUE(fake.messages.shown.empty()) << "the file is there; it is only no picture";
    EXPECT_TRUE(label("NoPictureText")->isVisible());
    EXPECT_TRUE(label("CoverPicture")->pixmap().isNull());
}

TEST_F(CoverPictureTest, APngNamedJpgIsShown)
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    writeFile("Png.inf", projectFileBytes({"[vidorun]", "cover=COVER.JPG"}));
    writeFile("COVER.JPG", encoded(image, "PNG"));
    startWithRealPictures();
    readProject("Png.inf");
    EXPECT_FALSE(label("NoPictureText")->isVisible());
    EXPECT_FALSE(label("CoverPicture")->pixmap().isNull());
}

}  // namespace
