// Publishing's file work on Linux and other Unix systems: files are opened
// only once they are known to be regular files, without ever blocking, and
// copied within the kernel (shared blocks where the file system has them).
#include "platform/disc_path.h"
#include "platform/publish_files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

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
#include <unistd.h>

#include <string>
#include <vector>

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

class UnixReadableFile final : public ReadableFile {
public:
    UnixReadableFile(int fd, qint64 size) : m_fd(fd), m_size(size) {}
    ~UnixReadableFile() override { ::close(m_fd); }
    qint64 size() const override { return m_size; }
    qint64 read(char *buffer, qint64 size) override
    {
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

private:
    int m_fd;
    qint64 m_size;
    QString m_reason;
};

class UnixWritableFile final : public WritableFile {
public:
    explicit UnixWritableFile(int fd) : m_fd(fd) {}
    ~UnixWritableFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool write(const char *data, qint64 size) override
    {
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

private:
    int m_fd;
    QString m_reason;
};

// Copies within the kernel from the source's position to its end; false
// with errno set when it fails, `unsupported` when this pair of files can't
// be copied so and nothing was copied yet.
bool copyInKernel(int from, int to, qint64 &copied, const CopyProgress &progress, bool &unsupported, bool &stopped)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, std::size_t(CopyPiece), 0);
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
        return std::make_unique<UnixReadableFile>(fd, qint64(info.st_size));
    }

    std::unique_ptr<WritableFile> create(const QString &path, bool executable, QString &reason) override
    {
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
        return std::make_unique<UnixWritableFile>(fd);
    }

    bool copy(const QString &source, const QString &target, const CopyProgress &progress, QString &reason) override
    {
        FileKind kind;
        const std::unique_ptr<ReadableFile> opened = openForReading(source, kind, reason);
        if (!opened)
            return false;
        auto &from = static_cast<UnixReadableFile &>(*opened);
        std::unique_ptr<WritableFile> created = create(target, false, reason);
        if (!created)
            return false;
        auto &to = static_cast<UnixWritableFile &>(*created);
        bool copied = copyOpen(from, to, progress, reason);
        if (copied && !to.close()) {
            reason = to.reason();
            copied = false;
        }
        if (!copied)
            ::unlink(encoded(target).constData());
        return copied;
    }

    bool makeFolder(const QString &path, QString &reason) override
    {
        const QByteArray name = encoded(path);
        if (::mkdir(name.constData(), 0700) != 0 || ::chmod(name.constData(), 0755) != 0) {
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

    bool remove(const QString &path) override
    {
        const QByteArray name = encoded(path);
        struct stat info;
        if (::lstat(name.constData(), &info) != 0)
            return errno == ENOENT;
        if (!S_ISDIR(info.st_mode))
            return ::unlink(name.constData()) == 0;
        const int folder = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const bool emptied = folder >= 0 && removeContents(folder);
        return ::rmdir(name.constData()) == 0 && emptied;
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

    static bool copyOpen(UnixReadableFile &from, UnixWritableFile &to, const CopyProgress &progress, QString &reason)
    {
#ifdef FICLONE
        // Where the file system shares blocks between files (Btrfs, XFS), the
        // copy takes no time and no room.
        if (::ioctl(to.fd(), FICLONE, from.fd()) == 0) {
            if (progress(from.size()))
                return true;
            reason = QStringLiteral("stopped");
            return false;
        }
#endif
        qint64 copied = 0;
        bool unsupported = false, stopped = false;
        if (copyInKernel(from.fd(), to.fd(), copied, progress, unsupported, stopped))
            return true;
        if (stopped) {
            reason = QStringLiteral("stopped");
            return false;
        }
        if (!unsupported) {
            reason = systemReason();
            return false;
        }
        // Through a buffer of this process, where the kernel can't copy.
        std::unique_ptr<char[]> buffer(new char[std::size_t(BufferSize)]);
        for (;;) {
            const qint64 n = from.read(buffer.get(), BufferSize);
            if (n < 0) {
                reason = from.reason();
                return false;
            }
            if (n == 0)
                return true;
            if (!to.write(buffer.get(), n)) {
                reason = to.reason();
                return false;
            }
            copied += n;
            if (!progress(copied)) {
                reason = QStringLiteral("stopped");
                return false;
            }
        }
    }

    // Removes everything in the open folder, never following a link; closes
    // it. The names are all read first: a folder changed while it is read
    // may list some twice or not at all.
    static bool removeContents(int folder)
    {
        DIR *dir = ::fdopendir(folder);
        if (!dir) {
            ::close(folder);
            return false;
        }
        std::vector<std::string> names;
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        }
        bool removed = true;
        for (const std::string &name : names) {
            struct stat info;
            if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                removed = false;
                continue;
            }
            if (S_ISDIR(info.st_mode)) {
                const int inner = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                removed = inner >= 0 && removeContents(inner) && removed;
                removed = ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 && removed;
            } else {
                removed = ::unlinkat(folder, name.c_str(), 0) == 0 && removed;
            }
        }
        ::closedir(dir);
        return removed;
    }
};

std::unique_ptr<PublishFiles> makeNativePublishFiles()
{
    return std::make_unique<UnixPublishFiles>();
}

}  // namespace vidorun
