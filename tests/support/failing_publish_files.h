#pragma once

#include "platform/publish_files.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vidorun::testing {

// Publishing's file work done by the real file system, but failing on
// purpose where a test says: reading a file whose path ends in `failReadOf`
// fails once `readBeforeFailing` of its bytes have been read (copies go
// through such reads too); making a folder whose path holds `failFolderOf`
// fails. Every failure gives `failReason`. `afterEachRead`
// hears of each piece read.
class FailingPublishFiles final : public PublishFiles {
public:
    explicit FailingPublishFiles(PublishFiles &real) : m_real(real) {}

    std::string failReadOf;
    std::int64_t readBeforeFailing = 0;
    std::string failFolderOf;
    std::string failReason = "Input/output error";
    std::function<void(std::int64_t read)> afterEachRead;
    std::vector<std::string> opened;  // every path opened for reading, in order

    std::string locate(const std::string &projectPath, const std::string &projectFolder) override
    {
        return m_real.locate(projectPath, projectFolder);
    }
    std::unique_ptr<ReadableFile> openForReading(const std::string &path, FileKind &kind, std::string &reason) override
    {
        opened.push_back(path);
        std::unique_ptr<ReadableFile> file = m_real.openForReading(path, kind, reason);
        if (!file)
            return file;
        const bool failing = !failReadOf.empty() && path.size() >= failReadOf.size()
                             && path.compare(path.size() - failReadOf.size(), failReadOf.size(), failReadOf) == 0;
        return std::make_unique<Reader>(std::move(file), failing ? readBeforeFailing : -1, *this);
    }
    std::unique_ptr<WritableFile> create(const std::string &path, bool executable, std::string &reason) override
    {
        return m_real.create(path, executable, reason);
    }
    bool copy(const std::string &source, const std::string &target, const CopyProgress &progress,
              CopyFailure &failure) override
    {
        FileKind kind;
        failure = {};
        const std::unique_ptr<ReadableFile> from = openForReading(source, kind, failure.reason);
        failure.reading = !from;
        const std::unique_ptr<WritableFile> to = from ? create(target, false, failure.reason) : nullptr;
        if (!to)
            return false;
        char buffer[64 * 1024];
        for (std::int64_t copied = 0;;) {
            const std::int64_t n = from->read(buffer, sizeof buffer);
            if (n < 0) {
                failure.reading = true;
                failure.reason = from->reason();
                return false;
            }
            if (n == 0)
                break;
            if (!to->write(buffer, n)) {
                failure.reason = to->reason();
                return false;
            }
            copied += n;
            if (!progress(copied)) {
                failure.stopped = true;
                failure.reason = "stopped";
                return false;
            }
        }
        if (!to->close()) {
            failure.reason = to->reason();
            return false;
        }
        return true;
    }
    bool makeFolder(const std::string &path, std::string &reason) override
    {
        if (!failFolderOf.empty() && path.find(failFolderOf) != std::string::npos) {
            reason = failReason;
            return false;
        }
        return m_real.makeFolder(path, reason);
    }
    bool exists(const std::string &path) override { return m_real.exists(path); }
    bool rename(const std::string &from, const std::string &to, std::string &reason) override
    {
        return m_real.rename(from, to, reason);
    }
    bool exchange(const std::string &first, const std::string &second, bool &unsupported, std::string &reason) override
    {
        return m_real.exchange(first, second, unsupported, reason);
    }
    bool replaceFile(const std::string &from, const std::string &to, std::string &reason) override
    {
        return m_real.replaceFile(from, to, reason);
    }
    bool remove(const std::string &path, std::string &reason) override { return m_real.remove(path, reason); }
    std::optional<FileIdentity> identity(const std::string &path) override { return m_real.identity(path); }
    std::optional<FileIdentity> entryIdentity(const std::string &path) override { return m_real.entryIdentity(path); }
    std::vector<FileIdentity> holdingFolders(const std::string &path) override { return m_real.holdingFolders(path); }
    std::optional<std::vector<TreeEntry>> listTree(const std::string &folder, std::string &reason) override
    {
        return m_real.listTree(folder, reason);
    }
    std::optional<std::int64_t> freeBytes(const std::string &folder) override { return m_real.freeBytes(folder); }
    bool flush(const std::string &folder, std::string &reason) override { return m_real.flush(folder, reason); }
    void setHidden(const std::string &path, bool hidden) override { m_real.setHidden(path, hidden); }
    std::vector<std::string> caseTwins(const std::string &path) override { return m_real.caseTwins(path); }
    std::function<void()> prepareImageLibrary(const std::string &stagingFolder) override
    {
        return m_real.prepareImageLibrary(stagingFolder);
    }

private:
    class Reader final : public ReadableFile {
    public:
        Reader(std::unique_ptr<ReadableFile> real, std::int64_t failAfter, FailingPublishFiles &owner)
            : m_real(std::move(real)), m_left(failAfter), m_owner(owner)
        {
        }
        std::int64_t size() const override { return m_real->size(); }
        std::int64_t read(char *buffer, std::int64_t size) override
        {
            if (m_left == 0)
                return -1;
            const std::int64_t n = m_real->read(buffer, m_left > 0 ? std::min(size, m_left) : size);
            if (m_left > 0 && n > 0)
                m_left -= n;
            if (m_owner.afterEachRead && n > 0)
                m_owner.afterEachRead(n);
            return n;
        }
        std::string reason() const override { return m_left == 0 ? m_owner.failReason : m_real->reason(); }

    private:
        std::unique_ptr<ReadableFile> m_real;
        std::int64_t m_left;  // -1: never fails
        FailingPublishFiles &m_owner;
    };

    PublishFiles &m_real;
};

}  // namespace vidorun::testing
