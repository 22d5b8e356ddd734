// Publishing's file work on Linux and other Unix systems: files are opened
// only once they are known to be regular files, without ever blocking, and
// copied within the kernel (shared blocks where the file system has them).
#include "platform/disc_path.h"
#include "platform/publish_files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "projectfile/letter_case.h"

#ifdef __linux__
#include <linux/fs.h>
#endif

namespace vidorun {
namespace {

// Pieces small enough that the progress and Ctrl+C are heard several times
// a second, large enough that each costs one system call among many bytes.
constexpr qint64 CopyPiece = 16 * 1024 * 1024;
constexpr qint64 BufferSize = 1024 * 1024;

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString systemReason(int error = errno)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The fault a test asks for before a call; sets errno to it.
bool faulted(FileCall call, const QString &path)
{
    const int error = fileFault(call, path);
    if (error != 0)
        errno = error;
    return error != 0;
}

class UnixReadableFile final : public ReadableFile {
public:
    UnixReadableFile(int fd, qint64 size, QString path) : m_fd(fd), m_size(size), m_path(std::move(path)) {}
    ~UnixReadableFile() override { ::close(m_fd); }
    qint64 size() const override { return m_size; }
    qint64 read(char *buffer, qint64 size) override
    {
        if (faulted(FileCall::Read, m_path)) {
            m_reason = systemReason();
            return -1;
        }
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, std::size_t(size));
            if (n >= 0)
                return n;
            if (errno != EINTR) {
                m_reason = systemReason();
                return -1;
            }
        }
    }
    QString reason() const override { return m_reason; }
    int fd() const { return m_fd; }
    const QString &path() const { return m_path; }

private:
    int m_fd;
    qint64 m_size;
    QString m_path;
    QString m_reason;
};

class UnixWritableFile final : public WritableFile {
public:
    UnixWritableFile(int fd, QString path) : m_fd(fd), m_path(std::move(path)) {}
    ~UnixWritableFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool write(const char *data, qint64 size) override
    {
        if (faulted(FileCall::Write, m_path)) {
            m_reason = systemReason();
            return false;
        }
        while (size > 0) {
            const ssize_t n = ::write(m_fd, data, std::size_t(size));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                m_reason = systemReason(n < 0 ? errno : ENOSPC);
                return false;
            }
            data += n;
            size -= n;
        }
        return true;
    }
    bool close() override
    {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) {
            m_reason = systemReason();
            return false;
        }
        return true;
    }
    QString reason() const override { return m_reason; }
    int fd() const { return m_fd; }
    const QString &path() const { return m_path; }

private:
    int m_fd;
    QString m_path;
    QString m_reason;
};

// Copies within the kernel from the source's position to its end; false
// with errno set when it fails, `unsupported` when this pair of files can't
// be copied so and nothing was copied yet.
bool copyInKernel(const UnixReadableFile &from, const UnixWritableFile &to, qint64 &copied,
                  const CopyProgress &progress, bool &unsupported, bool &stopped)
{
    for (;;) {
        // A fault asked for stops the copy here; the copy through a buffer
        // that follows meets it again and tells which side it is on.
        if (fileFault(FileCall::Read, from.path()) != 0 || fileFault(FileCall::Write, to.path()) != 0) {
            errno = EIO;
            return false;
        }
        const ssize_t n = ::copy_file_range(from.fd(), nullptr, to.fd(), nullptr, std::size_t(CopyPiece), 0);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR) {
                if (!progress(copied)) {
                    stopped = true;
                    return false;
                }
                continue;
            }
            unsupported = copied == 0
                          && (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL);
            return false;
        }
        copied += n;
        if (!progress(copied)) {
            stopped = true;
            return false;
        }
    }
}

}  // namespace

class UnixPublishFiles final : public PublishFiles {
public:
    QString locate(const QString &projectPath, const QString &projectFolder) override
    {
        const std::string found = resolveDiscPath(encoded(projectPath).toStdString(),
                                                  encoded(projectFolder).toStdString());
        const QString path = QFile::decodeName(QByteArray::fromStdString(found));
        return QDir::isRelativePath(path) ? QDir(projectFolder).filePath(path) : path;
    }

    std::unique_ptr<ReadableFile> openForReading(const QString &path, FileKind &kind, QString &reason) override
    {
        const QByteArray name = encoded(path);
        kind = FileKind::Missing;
        if (name.isEmpty() || name.contains('\0')) {
            reason = QStringLiteral("no such file");
            return nullptr;
        }
        // Look before opening: opening a device can do something by itself.
        struct stat info;
        if (::stat(name.constData(), &info) != 0) {
            reason = systemReason();
            return nullptr;
        }
        if (!classify(info, kind, reason))
            return nullptr;
        // Should it have turned into a pipe since, the open does not wait
        // for a writer and the second look refuses it.
        const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            reason = systemReason();
            return nullptr;
        }
        if (::fstat(fd, &info) != 0 || !classify(info, kind, reason)) {
            ::close(fd);
            return nullptr;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        return std::make_unique<UnixReadableFile>(fd, qint64(info.st_size), path);
    }

    std::unique_ptr<WritableFile> create(const QString &path, bool executable, QString &reason) override
    {
        if (faulted(FileCall::Write, path)) {
            reason = systemReason();
            return nullptr;
        }
        const int fd = ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            reason = systemReason();
            return nullptr;
        }
        // Whatever the umask: a disc's files are read by everyone who has it.
        if (::fchmod(fd, executable ? 0755 : 0644) != 0) {
            reason = systemReason();
            ::close(fd);
            ::unlink(encoded(path).constData());
            return nullptr;
        }
        return std::make_unique<UnixWritableFile>(fd, path);
    }

    bool copy(const QString &source, const QString &target, const CopyProgress &progress,
              CopyFailure &failure) override
    {
        FileKind kind;
        failure = {};
        const std::unique_ptr<ReadableFile> opened = openForReading(source, kind, failure.reason);
        if (!opened) {
            failure.reading = true;
            return false;
        }
        auto &from = static_cast<UnixReadableFile &>(*opened);
        // Made here, never taken over: whatever fails below removes only
        // what this copy made.
        std::unique_ptr<WritableFile> created = create(target, false, failure.reason);
        if (!created)
            return false;
        auto &to = static_cast<UnixWritableFile &>(*created);
        bool copied = copyOpen(from, to, progress, failure);
        if (copied && !to.close()) {
            failure.reason = to.reason();
            copied = false;
        }
        if (!copied)
            ::unlink(encoded(target).constData());
        return copied;
    }

    bool makeFolder(const QString &path, QString &reason) override
    {
        const QByteArray name = encoded(path);
        if (faulted(FileCall::MakeFolder, path) || ::mkdir(name.constData(), 0700) != 0
            || ::chmod(name.constData(), 0755) != 0) {
            reason = systemReason();
            return false;
        }
        return true;
    }

    bool exists(const QString &path) override
    {
        struct stat info;
        const QByteArray name = encoded(path);
        return !name.contains('\0') && ::lstat(name.constData(), &info) == 0;
    }

    bool rename(const QString &from, const QString &to, QString &reason) override
    {
        if (faulted(FileCall::Rename, from)) {
            reason = systemReason();
            return false;
        }
        const QByteArray oldName = encoded(from), newName = encoded(to);
        if (::renameat2(AT_FDCWD, oldName.constData(), AT_FDCWD, newName.constData(), RENAME_NOREPLACE) == 0)
            return true;
        // A file system that can't promise it: look first, then rename.
        if (errno == EINVAL || errno == ENOSYS) {
            if (exists(to)) {
                reason = systemReason(EEXIST);
                return false;
            }
            if (::rename(oldName.constData(), newName.constData()) == 0)
                return true;
        }
        reason = systemReason();
        return false;
    }

    bool exchange(const QString &first, const QString &second, bool &unsupported, QString &reason) override
    {
        unsupported = false;
        if (!faulted(FileCall::Exchange, first)
            && ::renameat2(AT_FDCWD, encoded(first).constData(), AT_FDCWD, encoded(second).constData(),
                           RENAME_EXCHANGE)
                   == 0)
            return true;
        // Older kernels and some file systems (FUSE, network ones) can't.
        unsupported = errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
        if (!unsupported)
            reason = systemReason();
        return false;
    }

    bool replaceFile(const QString &from, const QString &to, QString &reason) override
    {
        if (faulted(FileCall::Rename, from) || ::rename(encoded(from).constData(), encoded(to).constData()) != 0) {
            reason = systemReason();
            return false;
        }
        return true;
    }

    bool remove(const QString &path, QString &reason) override
    {
        const QByteArray name = encoded(path);
        struct stat info;
        if (::lstat(name.constData(), &info) != 0) {
            if (errno == ENOENT)
                return true;
            reason = systemReason();
            return false;
        }
        if (faulted(FileCall::Remove, path)) {
            reason = systemReason();
            return false;
        }
        if (!S_ISDIR(info.st_mode)) {
            if (::unlink(name.constData()) == 0)
                return true;
            reason = systemReason();
            return false;
        }
        const int folder = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (folder < 0) {
            reason = systemReason();
            return false;
        }
        int error = 0;
        removeContents(folder, error);
        if (::rmdir(name.constData()) != 0 && error == 0)
            error = errno;
        if (error == 0)
            return true;
        reason = systemReason(error);
        return false;
    }

    std::optional<FileIdentity> identity(const QString &path) override
    {
        struct stat info;
        if (::stat(encoded(path).constData(), &info) != 0)
            return std::nullopt;
        return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
    }

    std::optional<FileIdentity> entryIdentity(const QString &path) override
    {
        struct stat info;
        if (::lstat(encoded(path).constData(), &info) != 0)
            return std::nullopt;
        return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
    }

    std::vector<FileIdentity> holdingFolders(const QString &path) override
    {
        // From the folder the path leads into, links followed; for a path
        // that is not there (yet), from the nearest folder on its way that is.
        std::vector<FileIdentity> chain;
        QByteArray name = encoded(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
        if (char *real = ::realpath(name.constData(), nullptr)) {
            name = real;
            std::free(real);
        }
        int fd = -1;
        for (;;) {
            const qsizetype slash = name.lastIndexOf('/');
            name = slash > 0 ? name.left(slash) : QByteArray("/");
            fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0 || name == "/")
                break;
        }
        // Up through "..", as the system goes, until the root, which is its
        // own parent.
        for (int depth = 0; fd >= 0 && depth < 4096; ++depth) {
            struct stat here;
            if (::fstat(fd, &here) != 0)
                break;
            chain.push_back({quint64(here.st_dev), quint64(here.st_ino)});
            const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::close(fd);
            fd = up;
            struct stat parent;
            if (fd >= 0 && ::fstat(fd, &parent) == 0 && parent.st_dev == here.st_dev && parent.st_ino == here.st_ino)
                break;
        }
        if (fd >= 0)
            ::close(fd);
        return chain;
    }

    std::optional<std::vector<TreeEntry>> listTree(const QString &folder, QString &reason) override
    {
        const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            reason = systemReason();
            return std::nullopt;
        }
        std::vector<TreeEntry> entries;
        if (!listInto(fd, QString(), entries, reason, 0))
            return std::nullopt;
        std::sort(entries.begin(), entries.end(), [](const TreeEntry &a, const TreeEntry &b) { return a.path < b.path; });
        return entries;
    }

    std::optional<qint64> freeBytes(const QString &folder) override
    {
        struct statvfs info;
        if (::statvfs(encoded(folder).constData(), &info) != 0)
            return std::nullopt;
        return qint64(info.f_bavail) * qint64(info.f_frsize);
    }

    bool flush(const QString &folder, QString &reason) override
    {
        const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool flushed = fd >= 0 && !faulted(FileCall::Flush, folder) && ::syncfs(fd) == 0;
        if (!flushed)
            reason = systemReason();
        if (fd >= 0)
            ::close(fd);
        return flushed;
    }

    void setHidden(const QString &, bool) override {}

    QStringList caseTwins(const QString &path) override
    {
        const QFileInfo info(path);
        const std::string wanted = fileNameFoldUtf8(info.fileName().toStdString());
        QStringList twins;
        DIR *dir = ::opendir(encoded(info.path()).constData());
        if (!dir)
            return twins;
        const QByteArray own = encoded(info.fileName());
        while (const dirent *entry = ::readdir(dir)) {
            if (own != entry->d_name && fileNameFoldUtf8(QFile::decodeName(entry->d_name).toStdString()) == wanted)
                twins << QFile::decodeName(entry->d_name);
        }
        ::closedir(dir);
        twins.sort();
        return twins;
    }

    std::function<void()> prepareImageLibrary(const QString &stagingFolder) override
    {
        const bool hadFolder = qEnvironmentVariableIsSet("TMPDIR");
        const QByteArray previousFolder = qgetenv("TMPDIR");
        ::setenv("TMPDIR", encoded(stagingFolder).constData(), 1);
        // libarchive reads the names as text in the locale's character set,
        // and turns them into Joliet's UTF-16 and Rock Ridge's bytes from there.
        const char *locale = ::setlocale(LC_CTYPE, nullptr);
        const std::string previousLocale = locale ? locale : "C";
        if (std::strcmp(::nl_langinfo(CODESET), "UTF-8") != 0)
            ::setlocale(LC_CTYPE, "C.UTF-8");
        return [hadFolder, previousFolder, previousLocale] {
            ::setlocale(LC_CTYPE, previousLocale.c_str());
            if (hadFolder)
                ::setenv("TMPDIR", previousFolder.constData(), 1);
            else
                ::unsetenv("TMPDIR");
        };
    }

private:
    static bool classify(const struct stat &info, FileKind &kind, QString &reason)
    {
        if (S_ISREG(info.st_mode)) {
            kind = FileKind::File;
            return true;
        }
        kind = S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Special;
        reason = kind == FileKind::Folder ? QStringLiteral("a folder, not a file")
                                          : QStringLiteral("a pipe, socket or device, not a file");
        return false;
    }

    static bool copyOpen(UnixReadableFile &from, UnixWritableFile &to, const CopyProgress &progress,
                         CopyFailure &failure)
    {
        const auto stop = [&failure] {
            failure.stopped = true;
            failure.reason = QStringLiteral("stopped");
            return false;
        };
#ifdef FICLONE
        // Where the file system shares blocks between files (Btrfs, XFS), the
        // copy takes no time and no room.
        if (fileFault(FileCall::Read, from.path()) == 0 && fileFault(FileCall::Write, to.path()) == 0
            && ::ioctl(to.fd(), FICLONE, from.fd()) == 0)
            return progress(from.size()) || stop();
#endif
        qint64 copied = 0;
        bool unsupported = false, stopped = false;
        if (copyInKernel(from, to, copied, progress, unsupported, stopped))
            return true;
        if (stopped)
            return stop();
        // Where the kernel can't copy, or failed without saying on which side,
        // through a buffer of this process from where it stopped: a failure
        // there is a read's or a write's.
        std::unique_ptr<char[]> buffer(new char[std::size_t(BufferSize)]);
        for (;;) {
            const qint64 n = from.read(buffer.get(), BufferSize);
            if (n < 0) {
                failure.reading = true;
                failure.reason = from.reason();
                return false;
            }
            if (n == 0)
                return true;
            if (!to.write(buffer.get(), n)) {
                failure.reason = to.reason();
                return false;
            }
            copied += n;
            if (!progress(copied))
                return stop();
        }
    }

    // Adds the entries below the open folder to `entries`, each folder's
    // before what it holds; closes it. Never follows a link.
    static bool listInto(int folder, const QString &prefix, std::vector<TreeEntry> &entries, QString &reason,
                         int depth)
    {
        DIR *dir = ::fdopendir(folder);
        if (!dir) {
            reason = systemReason();
            ::close(folder);
            return false;
        }
        bool listed = true;
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            struct stat info;
            if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                reason = systemReason();
                listed = false;
                break;
            }
            TreeEntry found;
            found.path = prefix + QFile::decodeName(entry->d_name);
            found.folder = S_ISDIR(info.st_mode);
            found.identity = {quint64(info.st_dev), quint64(info.st_ino)};
            found.bytes = found.folder ? 0 : qint64(info.st_size);
            entries.push_back(found);
            if (found.folder) {
                const int inner = depth < 64 ? ::openat(folder, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
                if (inner < 0 || !listInto(inner, found.path + QLatin1Char('/'), entries, reason, depth + 1)) {
                    if (reason.isEmpty())
                        reason = systemReason();
                    listed = false;
                    break;
                }
            }
        }
        ::closedir(dir);
        return listed;
    }

    // Removes everything in the open folder, never following a link; closes
    // it. The names are all read first: a folder changed while it is read
    // may list some twice or not at all. The first error stays in `error`.
    static void removeContents(int folder, int &error)
    {
        DIR *dir = ::fdopendir(folder);
        if (!dir) {
            error = error ? error : errno;
            ::close(folder);
            return;
        }
        std::vector<std::string> names;
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        }
        for (const std::string &name : names) {
            struct stat info;
            if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                error = error ? error : errno;
                continue;
            }
            if (S_ISDIR(info.st_mode)) {
                const int inner = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (inner >= 0)
                    removeContents(inner, error);
                else
                    error = error ? error : errno;
                if (::unlinkat(folder, name.c_str(), AT_REMOVEDIR) != 0)
                    error = error ? error : errno;
            } else if (::unlinkat(folder, name.c_str(), 0) != 0) {
                error = error ? error : errno;
            }
        }
        ::closedir(dir);
    }
};

std::unique_ptr<PublishFiles> makeNativePublishFiles()
{
    return std::make_unique<UnixPublishFiles>();
}

}  // namespace vidorun
