// Publishing's file work on Linux and other Unix systems: files are opened
// only once they are known to be regular files, without ever blocking, and
// copied within the kernel (shared blocks where the file system has them).
#include "platform/disc_path.h"
#include "platform/file_places.h"
#include "platform/publish_files.h"

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
constexpr std::int64_t CopyPiece = 16 * 1024 * 1024;
constexpr std::int64_t BufferSize = 1024 * 1024;

std::string systemReason(int error = errno)
{
    return std::strerror(error);
}

// A path the system can be handed: no NUL inside.
bool usable(const std::string &path)
{
    return path.find('\0') == std::string::npos;
}

// The fault a test asks for before a call; sets errno to it.
bool faulted(FileCall call, const std::string &path)
{
    const int error = fileFault(call, path);
    if (error != 0)
        errno = error;
    return error != 0;
}

class UnixReadableFile final : public ReadableFile {
public:
    UnixReadableFile(int fd, std::int64_t size, std::string path) : m_fd(fd), m_size(size), m_path(std::move(path)) {}
    ~UnixReadableFile() override { ::close(m_fd); }
    std::int64_t size() const override { return m_size; }
    std::int64_t read(char *buffer, std::int64_t size) override
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
    std::string reason() const override { return m_reason; }
    int fd() const { return m_fd; }
    const std::string &path() const { return m_path; }

private:
    int m_fd;
    std::int64_t m_size;
    std::string m_path;
    std::string m_reason;
};

class UnixWritableFile final : public WritableFile {
public:
    UnixWritableFile(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}
    ~UnixWritableFile() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool write(const char *data, std::int64_t size) override
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
    std::string reason() const override { return m_reason; }
    int fd() const { return m_fd; }
    const std::string &path() const { return m_path; }

private:
    int m_fd;
    std::string m_path;
    std::string m_reason;
};

// Copies within the kernel from the source's position to its end; false
// with errno set when it fails, `unsupported` when this pair of files can't
// be copied so and nothing was copied yet.
bool copyInKernel(const UnixReadableFile &from, const UnixWritableFile &to, std::int64_t &copied,
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
    std::string locate(const std::string &projectPath, const std::string &projectFolder) override
    {
        const std::string path = resolveDiscPath(projectPath, projectFolder);
        if (path.empty())
            return projectFolder;
        if (path.front() == '/')
            return path;
        return projectFolder.empty() || projectFolder.back() == '/' ? projectFolder + path : projectFolder + '/' + path;
    }

    std::unique_ptr<ReadableFile> openForReading(const std::string &path, FileKind &kind, std::string &reason) override
    {
        kind = FileKind::Missing;
        if (path.empty() || !usable(path)) {
            reason = "no such file";
            return nullptr;
        }
        // Look before opening: opening a device can do something by itself.
        struct stat info;
        if (::stat(path.c_str(), &info) != 0) {
            reason = systemReason();
            return nullptr;
        }
        if (!classify(info, kind, reason))
            return nullptr;
        // Should it have turned into a pipe since, the open does not wait
        // for a writer and the second look refuses it.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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
        return std::make_unique<UnixReadableFile>(fd, std::int64_t(info.st_size), path);
    }

    std::unique_ptr<WritableFile> create(const std::string &path, bool executable, std::string &reason) override
    {
        if (faulted(FileCall::Write, path)) {
            reason = systemReason();
            return nullptr;
        }
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            reason = systemReason();
            return nullptr;
        }
        // Whatever the umask: a disc's files are read by everyone who has it.
        if (::fchmod(fd, executable ? 0755 : 0644) != 0) {
            reason = systemReason();
            ::close(fd);
            ::unlink(path.c_str());
            return nullptr;
        }
        return std::make_unique<UnixWritableFile>(fd, path);
    }

    bool copy(const std::string &source, const std::string &target, const CopyProgress &progress,
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
            ::unlink(target.c_str());
        return copied;
    }

    bool makeFolder(const std::string &path, std::string &reason) override
    {
        if (faulted(FileCall::MakeFolder, path) || ::mkdir(path.c_str(), 0700) != 0
            || ::chmod(path.c_str(), 0755) != 0) {
            reason = systemReason();
            return false;
        }
        return true;
    }

    bool exists(const std::string &path) override
    {
        struct stat info;
        return usable(path) && ::lstat(path.c_str(), &info) == 0;
    }

    bool rename(const std::string &from, const std::string &to, std::string &reason) override
    {
        if (faulted(FileCall::Rename, from)) {
            reason = systemReason();
            return false;
        }
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        // A file system that can't promise it: look first, then rename.
        if (errno == EINVAL || errno == ENOSYS) {
            if (exists(to)) {
                reason = systemReason(EEXIST);
                return false;
            }
            if (::rename(from.c_str(), to.c_str()) == 0)
                return true;
        }
        reason = systemReason();
        return false;
    }

    bool exchange(const std::string &first, const std::string &second, bool &unsupported, std::string &reason) override
    {
        unsupported = false;
        if (!faulted(FileCall::Exchange, first)
            && ::renameat2(AT_FDCWD, first.c_str(), AT_FDCWD, second.c_str(), RENAME_EXCHANGE) == 0)
            return true;
        // Older kernels and some file systems (FUSE, network ones) can't.
        unsupported = errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP;
        if (!unsupported)
            reason = systemReason();
        return false;
    }

    bool replaceFile(const std::string &from, const std::string &to, std::string &reason) override
    {
        if (faulted(FileCall::Rename, from) || ::rename(from.c_str(), to.c_str()) != 0) {
            reason = systemReason();
            return false;
        }
        return true;
    }

    bool remove(const std::string &path, std::string &reason) override
    {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0) {
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
            if (::unlink(path.c_str()) == 0)
                return true;
            reason = systemReason();
            return false;
        }
        const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (folder < 0) {
            reason = systemReason();
            return false;
        }
        int error = 0;
        removeContents(folder, error);
        if (::rmdir(path.c_str()) != 0 && error == 0)
            error = errno;
        if (error == 0)
            return true;
        reason = systemReason(error);
        return false;
    }

    std::optional<FileIdentity> identity(const std::string &path) override
    {
        struct stat info;
        if (::stat(path.c_str(), &info) != 0)
            return std::nullopt;
        return FileIdentity{std::uint64_t(info.st_dev), std::uint64_t(info.st_ino)};
    }

    std::optional<FileIdentity> entryIdentity(const std::string &path) override
    {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0)
            return std::nullopt;
        return FileIdentity{std::uint64_t(info.st_dev), std::uint64_t(info.st_ino)};
    }

    std::vector<FileIdentity> holdingFolders(const std::string &path) override
    {
        // From the folder the path leads into, links followed; for a path
        // that is not there (yet), from the nearest folder on its way that is.
        std::vector<FileIdentity> chain;
        std::string name = absolutePath(path);
        if (char *real = ::realpath(name.c_str(), nullptr)) {
            name = real;
            std::free(real);
        }
        int fd = -1;
        for (;;) {
            const std::size_t slash = name.rfind('/');
            name = slash > 0 && slash != std::string::npos ? name.substr(0, slash) : std::string("/");
            fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0 || name == "/")
                break;
        }
        // Up through "..", as the system goes, until the root, which is its
        // own parent.
        for (int depth = 0; fd >= 0 && depth < 4096; ++depth) {
            struct stat here;
            if (::fstat(fd, &here) != 0)
                break;
            chain.push_back({std::uint64_t(here.st_dev), std::uint64_t(here.st_ino)});
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

    std::optional<std::vector<TreeEntry>> listTree(const std::string &folder, std::string &reason) override
    {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            reason = systemReason();
            return std::nullopt;
        }
        std::vector<TreeEntry> entries;
        if (!listInto(fd, std::string(), entries, reason, 0))
            return std::nullopt;
        std::sort(entries.begin(), entries.end(), [](const TreeEntry &a, const TreeEntry &b) { return a.path < b.path; });
        return entries;
    }

    std::optional<std::int64_t> freeBytes(const std::string &folder) override
    {
        struct statvfs info;
        if (::statvfs(folder.c_str(), &info) != 0)
            return std::nullopt;
        return std::int64_t(info.f_bavail) * std::int64_t(info.f_frsize);
    }

    bool flush(const std::string &folder, std::string &reason) override
    {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool flushed = fd >= 0 && !faulted(FileCall::Flush, folder) && ::syncfs(fd) == 0;
        if (!flushed)
            reason = systemReason();
        if (fd >= 0)
            ::close(fd);
        return flushed;
    }

    void setHidden(const std::string &, bool) override {}

    std::vector<std::string> caseTwins(const std::string &path) override
    {
        const std::size_t slash = path.rfind('/');
        const std::string own = slash == std::string::npos ? path : path.substr(slash + 1);
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        const std::string wanted = fileNameFoldUtf8(own);
        std::vector<std::string> twins;
        DIR *dir = usable(folder) ? ::opendir(folder.c_str()) : nullptr;
        if (!dir)
            return twins;
        while (const dirent *entry = ::readdir(dir)) {
            if (own != entry->d_name && fileNameFoldUtf8(entry->d_name) == wanted)
                twins.emplace_back(entry->d_name);
        }
        ::closedir(dir);
        std::sort(twins.begin(), twins.end());
        return twins;
    }

    std::function<void()> prepareImageLibrary(const std::string &stagingFolder) override
    {
        const char *folder = std::getenv("TMPDIR");
        const bool hadFolder = folder != nullptr;
        const std::string previousFolder = folder ? folder : "";
        ::setenv("TMPDIR", stagingFolder.c_str(), 1);
        // libarchive reads the names as text in the locale's character set,
        // and turns them into Joliet's UTF-16 and Rock Ridge's bytes from there.
        const char *locale = ::setlocale(LC_CTYPE, nullptr);
        const std::string previousLocale = locale ? locale : "C";
        if (std::strcmp(::nl_langinfo(CODESET), "UTF-8") != 0)
            ::setlocale(LC_CTYPE, "C.UTF-8");
        return [hadFolder, previousFolder, previousLocale] {
            ::setlocale(LC_CTYPE, previousLocale.c_str());
            if (hadFolder)
                ::setenv("TMPDIR", previousFolder.c_str(), 1);
            else
                ::unsetenv("TMPDIR");
        };
    }

private:
    static bool classify(const struct stat &info, FileKind &kind, std::string &reason)
    {
        if (S_ISREG(info.st_mode)) {
            kind = FileKind::File;
            return true;
        }
        kind = S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Special;
        reason = kind == FileKind::Folder ? "a folder, not a file"
                                          : "a pipe, socket or device, not a file";
        return false;
    }

    static bool copyOpen(UnixReadableFile &from, UnixWritableFile &to, const CopyProgress &progress,
                         CopyFailure &failure)
    {
        const auto stop = [&failure] {
            failure.stopped = true;
            failure.reason = "stopped";
            return false;
        };
#ifdef FICLONE
        // Where the file system shares blocks between files (Btrfs, XFS), the
        // copy takes no time and no room.
        if (fileFault(FileCall::Read, from.path()) == 0 && fileFault(FileCall::Write, to.path()) == 0
            && ::ioctl(to.fd(), FICLONE, from.fd()) == 0)
            return progress(from.size()) || stop();
#endif
        std::int64_t copied = 0;
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
            const std::int64_t n = from.read(buffer.get(), BufferSize);
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
    static bool listInto(int folder, const std::string &prefix, std::vector<TreeEntry> &entries, std::string &reason,
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
            found.path = prefix + entry->d_name;
            found.folder = S_ISDIR(info.st_mode);
            found.identity = {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino)};
            found.bytes = found.folder ? 0 : std::int64_t(info.st_size);
            entries.push_back(found);
            if (found.folder) {
                if (depth >= MaxListedDepth) {
                    reason = TooDeepReason;
                    listed = false;
                    break;
                }
                const int inner = ::openat(folder, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (inner < 0) {
                    reason = systemReason();
                    listed = false;
                    break;
                }
                if (!listInto(inner, found.path + '/', entries, reason, depth + 1)) {
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
