// Reading and saving files on Linux and other Unix systems.
#include "platform/file_io.h"

#include "base/paths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vidorun {

namespace {

std::string reasonFor(int error)
{
    return std::strerror(error);
}

class UnixInputFile final : public InputFile {
public:
    explicit UnixInputFile(int fd) : m_fd(fd) {}
    ~UnixInputFile() override { ::close(m_fd); }
    long long read(char *buffer, std::size_t size) override
    {
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, size);
            if (n >= 0 || errno != EINTR)
                return n;
        }
    }

private:
    int m_fd;
};

class UnixSaveSteps final : public SaveSteps {
public:
    explicit UnixSaveSteps(std::string path) : m_path(std::move(path)) {}
    ~UnixSaveSteps() override { discard(); }

    bool open() override
    {
        if (m_path.empty() || m_path.find('\0') != std::string::npos)
            return fail(ENOENT);
        // A target that is no file (a folder, say) can't be saved over.
        struct stat target;
        const bool exists = ::stat(m_path.c_str(), &target) == 0;
        if (exists && S_ISDIR(target.st_mode))
            return fail(EISDIR);
        std::string copy = inFolder(folderOf(m_path), "." + fileNameOf(m_path) + ".XXXXXX");
        m_fd = ::mkostemp(copy.data(), O_CLOEXEC);
        if (m_fd < 0)
            return fail(errno);
        m_copy = copy;
        // The file keeps the permissions it had; a new one gets the usual.
        mode_t mode = 0666;
        if (exists) {
            mode = target.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode &= ~mask;
        }
        ::fchmod(m_fd, mode);
        return true;
    }

    bool write(const std::string &piece) override
    {
        const char *data = piece.data();
        std::size_t left = piece.size();
        while (left > 0) {
            const ssize_t n = ::write(m_fd, data, left);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return fail(n < 0 ? errno : ENOSPC);
            data += n;
            left -= std::size_t(n);
        }
        return true;
    }

    bool flush() override { return ::fsync(m_fd) == 0 || fail(errno); }

    bool commit() override
    {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            return fail(errno);
        if (::rename(m_copy.c_str(), m_path.c_str()) != 0)
            return fail(errno);
        m_copy.clear();
        return true;
    }

    void discard() override
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
        if (!m_copy.empty()) {
            ::unlink(m_copy.c_str());
            m_copy.clear();
        }
    }

    std::string reason() const override { return m_reason; }

private:
    bool fail(int error)
    {
        m_reason = reasonFor(error);
        return false;
    }

    std::string m_path;
    std::string m_copy;
    int m_fd = -1;
    std::string m_reason;
};

}  // namespace

std::unique_ptr<InputFile> openInputFile(const std::string &path)
{
    const int fd = path.find('\0') == std::string::npos ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0)
        return nullptr;
    return std::make_unique<UnixInputFile>(fd);
}

std::unique_ptr<SaveSteps> makeFileSaveSteps(const std::string &path)
{
    return std::make_unique<UnixSaveSteps>(path);
}

}  // namespace vidorun
