// Makes the disc that start-up is measured on, in the folder given:
//   Autorun.inf  a project of 99 movies, written by the program's own writer
//   COVER.JPG    a 3000 x 4000 photo-like JPEG (gradients, shapes, grain)
#include "bench/bench_project.h"
#include "projectfile/atomic_save.h"
#include "projectfile/project_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cstdint>
#include <cstdio>

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

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir disc(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(disc.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    const vidorun::SaveOutcome saved = vidorun::saveFileWhole(
        disc.filePath(QStringLiteral("Autorun.inf")), vidorun::composeProjectFile(vidorun::bench::project99()));
    if (!saved.saved) {
        std::fprintf(stderr, "cannot write Autorun.inf: %s\n", qPrintable(saved.reason));
        return 1;
    }
    if (!photoLikeCover(3000, 4000).save(disc.filePath(QStringLiteral("COVER.JPG")), "JPEG", 90)) {
        std::fprintf(stderr, "cannot write COVER.JPG\n");
        return 1;
    }
    return 0;
}
