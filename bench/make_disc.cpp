// Makes the disc that start-up is measured on, in the folder given:
//   Autorun.inf  a project of 99 movies, written by the program's own writer
//   COVER.JPG    a 3000 x 4000 photo-like JPEG (gradients, shapes, grain)
// With --files N, the whole disc the disc checker is measured on: also the
// 99 movies (6 MB each, without data: sparse files), the player and codec
// installers, the markers of all three labels, so that every movie is
// checked, and small files in folders of 100, N files in all.
#include "bench/bench_project.h"
#include "projectfile/atomic_save.h"
#include "projectfile/project_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QImage photoLikeCover(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(40, 90, 170));
    sky.setColorAt(0.55, QColor(250, 190, 120));
    sky.setColorAt(0.56, QColor(30, 60, 90));
    sky.setColorAt(1, QColor(10, 20, 35));
    painter.fillRect(image.rect(), sky);
    QRadialGradient sun(width * 0.65, height * 0.5, width * 0.2);
    sun.setColorAt(0, QColor(255, 240, 200, 255));
    sun.setColorAt(1, QColor(255, 200, 120, 0));
    painter.setBrush(sun);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(width * 0.65, height * 0.5), width * 0.2, width * 0.2);
    std::uint32_t seed = 12345;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int i = 0; i < 400; ++i) {
        painter.setBrush(QColor(int(random() % 256), int(random() % 256), int(random() % 256), 90));
        const int x = int(random() % unsigned(width)), y = int(random() % unsigned(height));
        painter.drawEllipse(x, y, 20 + int(random() % 300), 20 + int(random() % 300));
    }
    painter.end();
    // Grain, as a camera gives it: what makes a photo cost to decode.
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int d = int(random() % 25) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255), qBound(0, qBlue(c) + d, 255));
        }
    }
    return image;
}

bool writeFile(const QString &path, const QByteArray &bytes, qint64 size = -1)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
           && (size < 0 || file.resize(size));
}

// Everything the project names, and small files up to `files` in all.
bool fillDisc(const QDir &disc, const vidorun::Project &project, int files)
{
    int made = 2;  // Autorun.inf and the cover
    auto onDisc = [&disc](QString path) { return disc.filePath(path.replace(QLatin1Char('\\'), QLatin1Char('/'))); };
    for (int n = 1; n <= 99; ++n) {
        if (!writeFile(onDisc(QString::fromStdString(project.MoviePaths[std::size_t(n)])), "RIFF", 6 * 1024 * 1024))
            return false;
        ++made;
    }
    for (const QString &path : {QString::fromStdString(project.PlayerPath), QString::fromStdString(project.CodecPath),
                                QStringLiteral("HOLIDAY1.INI"),
                                QStringLiteral("HOLIDAY2.INI"), QStringLiteral("HOLIDAY3.INI")}) {
        if (!writeFile(onDisc(path), QByteArray()))
            return false;
        ++made;
    }
    for (int i = 0; made < files; ++i, ++made) {
        const QString name = QStringLiteral("EXTRAS/SET%1/PHOTO%2.JPG")
                                 .arg(i / 100, 2, 10, QLatin1Char('0'))
                                 .arg(i, 4, 10, QLatin1Char('0'));
        if (!writeFile(disc.filePath(name), "photo"))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bool wholeDisc = argc == 4 && qstrcmp(argv[2], "--files") == 0;
    if (argc != 2 && !wholeDisc) {
        std::fprintf(stderr, "usage: %s FOLDER [--files N]\n", argv[0]);
        return 2;
    }
    const QDir disc(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(disc.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    const vidorun::SaveOutcome saved = vidorun::saveFileWhole(
        disc.filePath(QStringLiteral("Autorun.inf")).toStdString(),
        vidorun::composeProjectFile(vidorun::bench::project99()));
    if (!saved.saved) {
        std::fprintf(stderr, "cannot write Autorun.inf: %s\n", saved.reason.c_str());
        return 1;
    }
    if (!photoLikeCover(3000, 4000).save(disc.filePath(QStringLiteral("COVER.JPG")), "JPEG", 90)) {
        std::fprintf(stderr, "cannot write COVER.JPG\n");
        return 1;
    }
    if (wholeDisc && !fillDisc(disc, vidorun::bench::project99(), std::atoi(argv[3]))) {
        std::fprintf(stderr, "cannot write the disc's files\n");
        return 1;
    }
    return 0;
}
