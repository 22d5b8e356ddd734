// Writes the image of a disc folder as vidorun --publish --iso does, and
// tells how long libarchive's two steps took: taking the files in (each one
// read and staged in its temporary file) and writing the image out.
//   bench_disc_image FOLDER IMAGE [LABEL]
// Prints one line: "bytes=... staging_ms=... writing_ms=... peak_kb=...".
#include "platform/peak_memory.h"
#include "platform/publish_files.h"
#include "publish/disc_image.h"
#include "publish/safe_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

using namespace vidorun;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: bench_disc_image FOLDER IMAGE [LABEL]\n");
        return 2;
    }
    const QString root = QFileInfo(arguments.at(1)).absoluteFilePath();
    const QString image = QFileInfo(arguments.at(2)).absoluteFilePath();
    DiscLayout disc;
    disc.volumeId = volumeIdentifier(arguments.value(3, QStringLiteral("BENCH")));
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(root).relativeFilePath(it.next());
        if (it.fileInfo().isDir())
            disc.folders << path;
        else
            disc.files.push_back({path, it.filePath(), {}, it.fileInfo().isExecutable(), it.fileInfo().size()});
    }
    disc.folders.sort();  // parents before what they hold

    const std::unique_ptr<PublishFiles> files = makeNativePublishFiles();
    QElapsedTimer clock;
    clock.start();
    qint64 stagedAt = -1;
    const qint64 staged = 2 * disc.bytes();
    const ImageOutcome outcome =
        writeDiscImage(disc, root, image, QFileInfo(image).absolutePath(), *files, [&](qint64 done) {
            if (stagedAt < 0 && done > staged)
                stagedAt = clock.elapsed();
            return true;
        });
    const qint64 total = clock.elapsed();
    if (!outcome.written) {
        std::fprintf(stderr, "bench_disc_image: %s\n", qPrintable(outcome.reason));
        return 1;
    }
    std::printf("bytes=%lld staging_ms=%lld writing_ms=%lld peak_kb=%ld\n", static_cast<long long>(outcome.bytes),
                static_cast<long long>(stagedAt), static_cast<long long>(total - stagedAt), peakResidentKb());
    return 0;
}
