#include "publish/disc_image.h"

#include "disccheck/disc_names.h"

#include <QDateTime>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace vidorun {

namespace {

constexpr qint64 FeedPiece = 1024 * 1024;

struct ArchiveDeleter {
    void operator()(struct archive *a) const { archive_write_free(a); }
};
struct EntryDeleter {
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};

// Where the image's bytes go, and how far they got.
struct ImageSink {
    WritableFile *file = nullptr;
    const CopyProgress *progress = nullptr;
    qint64 fed = 0;      // work done before libarchive writes the image
    qint64 written = 0;  // the image's bytes so far
    bool stopped = false;
    bool abandoned = false;  // libarchive is not to write anything more
    QString reason;
};

la_ssize_t writeToImage(struct archive *, void *data, const void *buffer, size_t length)
{
    auto *sink = static_cast<ImageSink *>(data);
    if (sink->abandoned || !sink->file)
        return -1;
    if (!sink->file->write(static_cast<const char *>(buffer), qint64(length))) {
        sink->reason = sink->file->reason();
        return -1;
    }
    sink->written += qint64(length);
    if (!(*sink->progress)(sink->fed + sink->written)) {
        sink->stopped = true;
        return -1;
    }
    return la_ssize_t(length);
}

// Readies the process for libarchive while the image is written, and puts
// it back however the writing ends.
class LibraryReady {
public:
    LibraryReady(PublishFiles &files, const QString &stagingFolder) : m_undo(files.prepareImageLibrary(stagingFolder))
    {
    }
    ~LibraryReady() { m_undo(); }
    LibraryReady(const LibraryReady &) = delete;
    LibraryReady &operator=(const LibraryReady &) = delete;

private:
    std::function<void()> m_undo;
};

class ImageWriter {
public:
    ImageWriter(const DiscLayout &disc, const QString &root, PublishFiles &files, const CopyProgress &progress)
        : m_disc(disc), m_root(root), m_files(files), m_progress(progress),
          m_time(QDateTime::currentSecsSinceEpoch())
    {
    }

    ImageOutcome write(const QString &target);

private:
    bool configure();
    bool addFolder(const QString &path);
    bool addFile(const DiscFile &file);
    bool failed(const QString &reason);
    bool failedReading(const QString &path, const QString &reason)
    {
        failed(reason);
        m_outcome.readingFile = path;
        return false;
    }

    const DiscLayout &m_disc;
    QString m_root;
    PublishFiles &m_files;
    const CopyProgress &m_progress;
    qint64 m_time;
    ImageSink m_sink;
    ImageOutcome m_outcome;
    // Freed before the image file and the sink: freeing an archive left open
    // closes it, and a close writes the rest of the image.
    std::unique_ptr<WritableFile> m_image;
    std::unique_ptr<struct archive, ArchiveDeleter> m_archive{archive_write_new()};
};

bool ImageWriter::failed(const QString &reason)
{
    m_sink.abandoned = true;
    if (m_sink.stopped)
        m_outcome.reason = QStringLiteral("stopped");
    else if (!m_sink.reason.isEmpty())
        m_outcome.reason = m_sink.reason;
    else if (!reason.isEmpty() && !reason.endsWith(QStringLiteral(": ")))
        m_outcome.reason = reason;
    else
        m_outcome.reason = reason + QStringLiteral("libarchive could not write the image, and gave no reason");
    return false;
}

bool ImageWriter::configure()
{
    struct archive *a = m_archive.get();
    // Files of 4 GiB and more need ISO 9660 level 3, which splits them in parts.
    bool big = false;
    for (const DiscFile &file : m_disc.files)
        big = big || file.bytes > Fat32MaxFileBytes;
    const QByteArray volume = m_disc.volumeId.toLatin1();
    if (archive_write_set_format_iso9660(a) != ARCHIVE_OK
        || archive_write_set_option(a, "iso9660", "volume-id", volume.constData()) != ARCHIVE_OK
        || archive_write_set_option(a, "iso9660", "joliet", "1") != ARCHIVE_OK
        || archive_write_set_option(a, "iso9660", "rockridge", "1") != ARCHIVE_OK
        || archive_write_set_option(a, "iso9660", "iso-level", big ? "3" : "2") != ARCHIVE_OK
        // libarchive's own blocks are only copied again: the ISO writer
        // hands over whole pieces of 64 kB.
        || archive_write_set_bytes_per_block(a, 0) != ARCHIVE_OK)
        return failed(QString::fromUtf8(archive_error_string(a)));
    return true;
}

bool ImageWriter::addFolder(const QString &path)
{
    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    archive_entry_copy_pathname_w(entry.get(), path.toStdWString().c_str());
    archive_entry_set_filetype(entry.get(), AE_IFDIR);
    archive_entry_set_perm(entry.get(), 0755);
    archive_entry_set_mtime(entry.get(), m_time, 0);
    if (archive_write_header(m_archive.get(), entry.get()) != ARCHIVE_OK)
        return failed(QStringLiteral("%1: %2").arg(path, QString::fromUtf8(archive_error_string(m_archive.get()))));
    return true;
}

bool ImageWriter::addFile(const DiscFile &file)
{
    FileKind kind;
    QString reason;
    const QString onDisk = m_root + QLatin1Char('/') + file.path;
    const std::unique_ptr<ReadableFile> source = m_files.openForReading(onDisk, kind, reason);
    if (!source)
        return failedReading(file.path, reason);

    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    // Wide, so that on Windows the Joliet names come from the UTF-16 itself
    // rather than through the code page.
    archive_entry_copy_pathname_w(entry.get(), file.path.toStdWString().c_str());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), file.executable ? 0755 : 0644);
    archive_entry_set_size(entry.get(), source->size());
    archive_entry_set_mtime(entry.get(), m_time, 0);
    if (archive_write_header(m_archive.get(), entry.get()) != ARCHIVE_OK)
        return failed(QStringLiteral("%1: %2").arg(file.path, QString::fromUtf8(archive_error_string(m_archive.get()))));

    // The entry holds exactly the size announced, should the file change.
    std::unique_ptr<char[]> buffer(new char[std::size_t(FeedPiece)]);
    for (qint64 left = source->size(); left > 0;) {
        const qint64 n = source->read(buffer.get(), std::min(left, FeedPiece));
        if (n < 0)
            return failedReading(file.path, source->reason());
        if (n == 0)
            return failedReading(file.path, QStringLiteral("it got shorter while the image was written"));
        if (archive_write_data(m_archive.get(), buffer.get(), std::size_t(n)) != n)
            return failed(QString::fromUtf8(archive_error_string(m_archive.get())));
        left -= n;
        m_sink.fed += 2 * n;
        if (!m_progress(m_sink.fed)) {
            m_sink.stopped = true;
            return failed(QString());
        }
    }
    return true;
}

ImageOutcome ImageWriter::write(const QString &target)
{
    QString reason;
    m_image = m_files.create(target, false, reason);
    if (!m_image) {
        m_outcome.reason = reason;
        return m_outcome;
    }
    m_sink.file = m_image.get();
    m_sink.progress = &m_progress;
    if (!configure())
        return m_outcome;
    if (archive_write_open2(m_archive.get(), &m_sink, nullptr, writeToImage, nullptr, nullptr) != ARCHIVE_OK) {
        failed(QString::fromUtf8(archive_error_string(m_archive.get())));
        return m_outcome;
    }
    for (const QString &folder : m_disc.folders) {
        if (!addFolder(folder))
            return m_outcome;
    }
    for (const DiscFile &file : m_disc.files) {
        if (!addFile(file))
            return m_outcome;
    }
    // Only now does libarchive know where everything goes, and write it all.
    if (archive_write_close(m_archive.get()) != ARCHIVE_OK) {
        failed(QString::fromUtf8(archive_error_string(m_archive.get())));
        return m_outcome;
    }
    if (!m_image->close()) {
        m_outcome.reason = m_image->reason();
        return m_outcome;
    }
    m_outcome.written = true;
    m_outcome.bytes = m_sink.written;
    return m_outcome;
}

}  // namespace

QString imageNamesAsciiBecause()
{
#ifdef Q_OS_WIN
    return QStringLiteral("an image written on Windows holds only ASCII in the names Linux reads");
#else
    return QString();
#endif
}

ImageOutcome writeDiscImage(const DiscLayout &disc, const QString &root, const QString &target,
                            const QString &stagingFolder, PublishFiles &files, const CopyProgress &progress)
{
    const LibraryReady ready(files, stagingFolder);
    return ImageWriter(disc, root, files, progress).write(target);
}

}  // namespace vidorun
