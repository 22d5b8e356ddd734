#include "publish/disc_image.h"

#include "base/text.h"
#include "base/utf8.h"
#include "disccheck/disc_names.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <ctime>
#include <memory>

namespace vidorun {

namespace {

constexpr std::int64_t FeedPiece = 1024 * 1024;

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
    std::int64_t fed = 0;      // work done before libarchive writes the image
    std::int64_t written = 0;  // the image's bytes so far
    bool stopped = false;
    bool abandoned = false;  // libarchive is not to write anything more
    std::string reason;
};

// libarchive's words for what went wrong, when it has any.
std::string archiveError(struct archive *a)
{
    const char *error = archive_error_string(a);
    return error ? error : "";
}

// A path as libarchive takes it to make both kinds of names: wide, so that
// on Windows the Joliet names come from UTF-16 itself rather than through the
// code page.
std::wstring archivePath(const std::string &utf8)
{
    if constexpr (sizeof(wchar_t) == 4) {
        const std::u32string text = toUtf32(utf8);
        return std::wstring(text.begin(), text.end());
    } else {
        const std::u16string text = toUtf16(utf8);
        return std::wstring(text.begin(), text.end());
    }
}

la_ssize_t writeToImage(struct archive *, void *data, const void *buffer, size_t length)
{
    auto *sink = static_cast<ImageSink *>(data);
    if (sink->abandoned || !sink->file)
        return -1;
    if (!sink->file->write(static_cast<const char *>(buffer), std::int64_t(length))) {
        sink->reason = sink->file->reason();
        return -1;
    }
    sink->written += std::int64_t(length);
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
    LibraryReady(PublishFiles &files, const std::string &stagingFolder) : m_undo(files.prepareImageLibrary(stagingFolder))
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
    ImageWriter(const DiscLayout &disc, const std::string &root, PublishFiles &files, const CopyProgress &progress)
        : m_disc(disc), m_root(root), m_files(files), m_progress(progress), m_time(std::int64_t(std::time(nullptr)))
    {
    }

    ImageOutcome write(const std::string &target);

private:
    bool configure();
    bool addFolder(const std::string &path);
    bool addFile(const DiscFile &file);
    bool failed(const std::string &reason);
    bool failedReading(const std::string &path, const std::string &reason)
    {
        failed(reason);
        m_outcome.readingFile = path;
        return false;
    }

    const DiscLayout &m_disc;
    std::string m_root;
    PublishFiles &m_files;
    const CopyProgress &m_progress;
    std::int64_t m_time;
    ImageSink m_sink;
    ImageOutcome m_outcome;
    // Freed before the image file and the sink: freeing an archive left open
    // closes it, and a close writes the rest of the image.
    std::unique_ptr<WritableFile> m_image;
    std::unique_ptr<struct archive, ArchiveDeleter> m_archive{archive_write_new()};
};

bool ImageWriter::failed(const std::string &reason)
{
    m_sink.abandoned = true;
    if (m_sink.stopped)
        m_outcome.reason = "stopped";
    else if (!m_sink.reason.empty())
        m_outcome.reason = m_sink.reason;
    else if (!reason.empty() && !endsWith(reason, ": "))
        m_outcome.reason = reason;
    else
        m_outcome.reason = reason + "libarchive could not write the image, and gave no reason";
    return false;
}

bool ImageWriter::configure()
{
    struct archive *a = m_archive.get();
    // Files of 4 GiB and more need ISO 9660 level 3, which splits them in parts.
    bool big = false;
    for (const DiscFile &file : m_disc.files)
        big = big || file.bytes > Fat32MaxFileBytes;
    if (archive_write_set_format_iso9660(a) != ARCHIVE_OK
        || archive_write_set_option(a, "iso9660", "volume-id", m_disc.volumeId.c_str()) != ARCHIVE_OK
        || archive_write_set_option(a, "iso9660", "joliet", "1") != ARCHIVE_OK
        || archive_write_set_option(a, "iso9660", "rockridge", "1") != ARCHIVE_OK
        || archive_write_set_option(a, "iso9660", "iso-level", big ? "3" : "2") != ARCHIVE_OK
        // libarchive's own blocks are only copied again: the ISO writer
        // hands over whole pieces of 64 kB.
        || archive_write_set_bytes_per_block(a, 0) != ARCHIVE_OK)
        return failed(archiveError(a));
    return true;
}

bool ImageWriter::addFolder(const std::string &path)
{
    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    archive_entry_copy_pathname_w(entry.get(), archivePath(path).c_str());
    archive_entry_set_filetype(entry.get(), AE_IFDIR);
    archive_entry_set_perm(entry.get(), 0755);
    archive_entry_set_mtime(entry.get(), m_time, 0);
    if (archive_write_header(m_archive.get(), entry.get()) != ARCHIVE_OK)
        return failed(path + ": " + archiveError(m_archive.get()));
    return true;
}

bool ImageWriter::addFile(const DiscFile &file)
{
    FileKind kind;
    std::string reason;
    const std::string onDisk = m_root + '/' + file.path;
    const std::unique_ptr<ReadableFile> source = m_files.openForReading(onDisk, kind, reason);
    if (!source)
        return failedReading(file.path, reason);

    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    // Wide, so that on Windows the Joliet names come from the UTF-16 itself
    // rather than through the code page.
    archive_entry_copy_pathname_w(entry.get(), archivePath(file.path).c_str());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), file.executable ? 0755 : 0644);
    archive_entry_set_size(entry.get(), source->size());
    archive_entry_set_mtime(entry.get(), m_time, 0);
    if (archive_write_header(m_archive.get(), entry.get()) != ARCHIVE_OK)
        return failed(file.path + ": " + archiveError(m_archive.get()));

    // The entry holds exactly the size announced, should the file change.
    std::unique_ptr<char[]> buffer(new char[std::size_t(FeedPiece)]);
    for (std::int64_t left = source->size(); left > 0;) {
        const std::int64_t n = source->read(buffer.get(), std::min(left, FeedPiece));
        if (n < 0)
            return failedReading(file.path, source->reason());
        if (n == 0)
            return failedReading(file.path, "it got shorter while the image was written");
        if (archive_write_data(m_archive.get(), buffer.get(), std::size_t(n)) != n)
            return failed(archiveError(m_archive.get()));
        left -= n;
        m_sink.fed += 2 * n;
        if (!m_progress(m_sink.fed)) {
            m_sink.stopped = true;
            return failed(std::string());
        }
    }
    return true;
}

ImageOutcome ImageWriter::write(const std::string &target)
{
    std::string reason;
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
        failed(archiveError(m_archive.get()));
        return m_outcome;
    }
    for (const std::string &folder : m_disc.folders) {
        if (!addFolder(folder))
            return m_outcome;
    }
    for (const DiscFile &file : m_disc.files) {
        if (!addFile(file))
            return m_outcome;
    }
    // Only now does libarchive know where everything goes, and write it all.
    if (archive_write_close(m_archive.get()) != ARCHIVE_OK) {
        failed(archiveError(m_archive.get()));
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

std::string imageNamesAsciiBecause()
{
#ifdef _WIN32
    return "an image written on Windows holds only ASCII in the names Linux reads";
#else
    return std::string();
#endif
}

ImageOutcome writeDiscImage(const DiscLayout &disc, const std::string &root, const std::string &target,
                            const std::string &stagingFolder, PublishFiles &files, const CopyProgress &progress)
{
    const LibraryReady ready(files, stagingFolder);
    return ImageWriter(disc, root, files, progress).write(target);
}

}  // namespace vidorun
