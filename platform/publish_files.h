#pragma once

// What publishing asks of the file system: finding the project's files,
// reading them without ever being made to wait by something that is no
// file, and making the disc folders and images beside them. Paths are
// QStrings as this system spells them; every failure comes with the system's
// own words for it.
#include <QString>

#include <functional>
#include <memory>

namespace vidorun {

// What is found at a path, links followed.
enum class FileKind { Missing, File, Folder, Special };

// A regular file opened for reading.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // Its size when it was opened.
    virtual qint64 size() const = 0;
    // Up to `size` bytes into `buffer`: how many, 0 at the end, -1 on a
    // failure (reason()).
    virtual qint64 read(char *buffer, qint64 size) = 0;
    virtual QString reason() const = 0;
};

// A new file being written.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual bool write(const char *data, qint64 size) = 0;
    // Closes the file, reporting what writing it left unsaid.
    virtual bool close() = 0;
    virtual QString reason() const = 0;
};

// Told the bytes copied so far; answers false to stop the copy.
using CopyProgress = std::function<bool(qint64 copied)>;

class PublishFiles {
public:
    virtual ~PublishFiles() = default;

    // Where a path of a project file leads on this computer, as the program
    // finds it: a relative path, or on Linux one with a drive letter, from
    // `projectFolder`; on Linux in any letter case.
    virtual QString locate(const QString &projectPath, const QString &projectFolder) = 0;

    // Opens a regular file, or a link to one, for reading. Anything else (a
    // folder, a pipe, a device) is refused with its kind, and is never read
    // from nor waited for. Nothing when the file can't be opened; `kind`
    // and `reason` then say why.
    virtual std::unique_ptr<ReadableFile> openForReading(const QString &path, FileKind &kind, QString &reason) = 0;

    // Makes the new file `path`, never replacing anything there, readable
    // by everyone, and executable by everyone when asked.
    virtual std::unique_ptr<WritableFile> create(const QString &path, bool executable, QString &reason) = 0;

    // Copies the regular file `source` to the new file `target`, by the
    // system's fastest way (sharing the blocks, or copying within the
    // system). `progress` hears of the bytes copied as the copy goes on.
    virtual bool copy(const QString &source, const QString &target, const CopyProgress &progress,
                      QString &reason) = 0;

    // Makes the new folder `path` (its parent must be there), open to
    // everyone.
    virtual bool makeFolder(const QString &path, QString &reason) = 0;
    // Whether anything is at `path`, a link that leads nowhere included.
    virtual bool exists(const QString &path) = 0;
    // Renames `from` to `to` on the same disk, never replacing anything at
    // `to`.
    virtual bool rename(const QString &from, const QString &to, QString &reason) = 0;
    // Removes the file or the folder with everything in it. A link is
    // removed itself, never followed. False when something stays.
    virtual bool remove(const QString &path) = 0;

    // Readies this process for the library that writes disc images, until
    // the answer is called: its temporary files go to `stagingFolder` (TMPDIR,
    // TMP on Windows), and on Unix the names handed to it are taken as UTF-8
    // whatever the locale says.
    virtual std::function<void()> prepareImageLibrary(const QString &stagingFolder) = 0;
};

std::unique_ptr<PublishFiles> makeNativePublishFiles();

}  // namespace vidorun
