#pragma once

#include "platform/publish_files.h"

#include <QStringList>

#include <functional>
#include <memory>

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

    QString failReadOf;
    qint64 readBeforeFailing = 0;
    QString failFolderOf;
    QString failReason = QStringLiteral("Input/output error");
    std::function<void(qint64 read)> afterEachRead;
    QStringList opened;  // every path opened for reading, in order

    QString locate(const QString &projectPath, const QString &projectFolder) override
    {
        return m_real.locate(projectPath, projectFolder);
    }
    std::unique_ptr<ReadableFile> openForReading(const QString &path, FileKind &kind, QString &reason) override
    {
        opened << path;
        std::unique_ptr<ReadableFile> file = m_real.openForReading(path, kind, reason);
        if (!file)
            return file;
        const bool failing = !failReadOf.isEmpty() && path.endsWith(failReadOf);
        return std::make_unique<Reader>(std::move(file), failing ? readBeforeFailing : -1, *this);
    }
    std::unique_ptr<WritableFile> create(const QString &path, bool executable, QString &reason) override
    {
        return m_real.create(path, executable, reason);
    }
    bool copy(const QString &source, const QString &target, const CopyProgress &progress,
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
        for (qint64 copied = 0;;) {
            const qint64 n = from->read(buffer, sizeof buffer);
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
                failure.reason = QStringLiteral("stopped");
                return false;
            }
        }
        if (!to->close()) {
            failure.reason = to->reason();
            return false;
        }
        return true;
    }
    bool makeFolder(const QString &path, QString &reason) override
    {
        if (!failFolderOf.isEmpty() && path.contains(failFolderOf)) {
            reason = failReason;
            return false;
        }
        return m_real.makeFolder(path, reason);
    }
    bool exists(const QString &path) override { return m_real.exists(path); }
    bool rename(const QString &from, const QString &to, QString &reason) override
    {
        return m_real.rename(from, to, reason);
    }
    bool exchange(const QString &first, const QString &second, bool &unsupported, QString &reason) override
    {
        return m_real.exchange(first, second, unsupported, reason);
    }
    bool replaceFile(const QString &from, const QString &to, QString &reason) override
    {
        return m_real.replaceFile(from, to, reason);
    }
    bool remove(const QString &path, QString &reason) override { return m_real.remove(path, reason); }
    std::optional<FileIdentity> identity(const QString &path) override { return m_real.identity(path); }
    std::optional<FileIdentity> entryIdentity(const QString &path) override { return m_real.entryIdentity(path); }
    std::vector<FileIdentity> holdingFolders(const QString &path) override { return m_real.holdingFolders(path); }
    std::optional<std::vector<TreeEntry>> listTree(const QString &folder, QString &reason) override
    {
        return m_real.listTree(folder, reason);
    }
    std::optional<qint64> freeBytes(const QString &folder) override { return m_real.freeBytes(folder); }
    bool flush(const QString &folder, QString &reason) override { return m_real.flush(folder, reason); }
    void setHidden(const QString &path, bool hidden) override { m_real.setHidden(path, hidden); }
    QStringList caseTwins(const QString &path) override { return m_real.caseTwins(path); }
    std::function<void()> prepareImageLibrary(const QString &stagingFolder) override
    {
        return m_real.prepareImageLibrary(stagingFolder);
    }

private:
    class Reader final : public ReadableFile {
    public:
        Reader(std::unique_ptr<ReadableFile> real, qint64 failAfter, FailingPublishFiles &owner)
            : m_real(std::move(real)), m_left(failAfter), m_owner(owner)
        {
        }
        qint64 size() const override { return m_real->size(); }
        qint64 read(char *buffer, qint64 size) override
        {
            if (m_left == 0)
                return -1;
            const qint64 n = m_real->read(buffer, m_left > 0 ? std::min(size, m_left) : size);
            if (m_left > 0 && n > 0)
                m_left -= n;
            if (m_owner.afterEachRead && n > 0)
                m_owner.afterEachRead(n);
            return n;
        }
        QString reason() const override { return m_left == 0 ? m_owner.failReason : m_real->reason(); }

    private:
        std::unique_ptr<ReadableFile> m_real;
        qint64 m_left;  // -1: never fails
        FailingPublishFiles &m_owner;
    };

    PublishFiles &m_real;
};

}  // namespace vidorun::testing
