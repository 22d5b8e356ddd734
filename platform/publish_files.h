#pragma once

// What publishing asks of the file system: finding the project's files,
// reading them without ever being made to wait by something that is no
// file, and making the disc folders and images beside them. Paths are
// UTF-8, as this system spells them; every failure comes with the system's
// own words for it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vidorun {

// What is found at a path, links followed.
enum class FileKind { Missing, File, Folder, Special };

// A regular file opened for reading.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // Its size when it was opened.
    virtual std::int64_t size() const = 0;
    // Up to `size` bytes into `buffer`: how many, 0 at the end, -1 on a
    // failure (reason()).
    virtual std::int64_t read(char *buffer, std::int64_t size) = 0;
    virtual std::string reason() const = 0;
};

// A new file being written.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual bool write(const char *data, std::int64_t size) = 0;
    // Closes the file, reporting what writing it left unsaid.
    virtual bool close() = 0;
    virtual std::string reason() const = 0;
};

// Told the bytes copied so far; answers false to stop the copy.
using CopyProgress = std::function<bool(std::int64_t copied)>;

// Why a copy failed: reading its source or writing its target, in the
// system's words; "stopped" when its progress asked it to stop.
struct CopyFailure {
    bool reading = false;
    bool stopped = false;
    std::string reason;
};

// Which file or folder a path reaches, whatever the path: its disk and its
// number there (device and inode on Unix, volume serial and file ID on
// Windows). Two paths reach the same file when their identities are equal.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    friend bool operator==(const FileIdentity &a, const FileIdentity &b)
    {
        return a.device == b.device && a.file == b.file;
    }
    friend bool operator!=(const FileIdentity &a, const FileIdentity &b) { return !(a == b); }
};

// One entry of a folder's tree, links never followed.
struct TreeEntry {
    std::string path;  // from the folder, "/" between names
    bool folder = false;
    FileIdentity identity;
    std::int64_t bytes = 0;  // a file's size; 0 for a folder
};

class PublishFiles {
public:
    virtual ~PublishFiles() = default;

    // Where a path of a project file leads on this computer, as the program
    // finds it: a relative path, or on Linux one with a drive letter, from
    // `projectFolder`; on Linux in any letter case.
    virtual std::string locate(const std::string &projectPath, const std::string &projectFolder) = 0;

    // Opens a regular file, or a link to one, for reading. Anything else (a
    // folder, a pipe, a device) is refused with its kind, and is never read
    // from nor waited for. Nothing when the file can't be opened; `kind`
    // and `reason` then say why.
    virtual std::unique_ptr<ReadableFile> openForReading(const std::string &path, FileKind &kind, std::string &reason) = 0;

    // Makes the new file `path`, never replacing anything there, readable
    // by everyone, and executable by everyone when asked.
    virtual std::unique_ptr<WritableFile> create(const std::string &path, bool executable, std::string &reason) = 0;

    // Copies the regular file `source` to the new file `target`, by the
    // system's fastest way (sharing the blocks, or copying within the
    // system). `progress` hears of the bytes copied as the copy goes on.
    // A target that was there already is left as it was; one the copy made
    // and could not finish is removed.
    virtual bool copy(const std::string &source, const std::string &target, const CopyProgress &progress,
                      CopyFailure &failure) = 0;

    // Makes the new folder `path` (its parent must be there), open to
    // everyone.
    virtual bool makeFolder(const std::string &path, std::string &reason) = 0;
    // Whether anything is at `path`, a link that leads nowhere included.
    virtual bool exists(const std::string &path) = 0;
    // Renames `from` to `to` on the same disk, never replacing anything at
    // `to`.
    virtual bool rename(const std::string &from, const std::string &to, std::string &reason) = 0;
    // Swaps what `first` and `second` lead to, in one step that nothing can
    // see half done. `unsupported` when the file system can't (then nothing
    // changed and no reason is given).
    virtual bool exchange(const std::string &first, const std::string &second, bool &unsupported, std::string &reason) = 0;
    // Renames `from` to `to`, replacing the file at `to` in one step: for the
    // program's own small files only.
    virtual bool replaceFile(const std::string &from, const std::string &to, std::string &reason) = 0;
    // Removes the file or the folder with everything in it. A link is
    // removed itself, never followed. False when something stays; `reason`
    // then says what kept it.
    virtual bool remove(const std::string &path, std::string &reason) = 0;
    bool remove(const std::string &path)
    {
        std::string reason;
        return remove(path, reason);
    }

    // Who `path` is, links followed; nothing when it can't be reached.
    virtual std::optional<FileIdentity> identity(const std::string &path) = 0;
    // Who `path` itself is, a link taken as itself.
    virtual std::optional<FileIdentity> entryIdentity(const std::string &path) = 0;
    // The folders that hold `path`, by identity, from the nearest to the
    // root of its file system, as the system finds them (links followed):
    // the same folder reached by two paths is one.
    virtual std::vector<FileIdentity> holdingFolders(const std::string &path) = 0;
    // Every entry below `folder`, links listed as themselves, never
    // followed; nothing when the folder can't be listed, `reason` says why.
    // A tree deeper than MaxListedDepth is not listed.
    static constexpr int MaxListedDepth = 64;
    static constexpr const char *TooDeepReason = "its folders lie more than 64 deep";
    virtual std::optional<std::vector<TreeEntry>> listTree(const std::string &folder, std::string &reason) = 0;
    // The bytes the user may still write on the disk that holds `folder`.
    virtual std::optional<std::int64_t> freeBytes(const std::string &folder) = 0;
    // Makes what was written on the disk holding `folder` durable: a power
    // cut after this loses none of it.
    virtual bool flush(const std::string &folder, std::string &reason) = 0;
    // Hides or shows the file or folder in the system's file manager; on
    // Unix, where a leading dot hides a name, it does nothing.
    virtual void setHidden(const std::string &path, bool hidden) = 0;
    // The other entries of `path`'s folder that a name compared without
    // letter case takes for it ("Beach.avi" for "BEACH.AVI"); none on a
    // file system that holds no two such names.
    virtual std::vector<std::string> caseTwins(const std::string &path) = 0;

    // Readies this process for the library that writes disc images, until
    // the answer is called: its temporary files go to `stagingFolder` (TMPDIR,
    // TMP on Windows), and on Unix the names handed to it are taken as UTF-8
    // whatever the locale says.
    virtual std::function<void()> prepareImageLibrary(const std::string &stagingFolder) = 0;
};

std::unique_ptr<PublishFiles> makeNativePublishFiles();

// The system's file calls under publishing, as tests fail them on purpose:
// each call asks the hook first, which may answer a system error number to
// fail with (errno on Unix, a Win32 error code on Windows) or 0 to go on.
enum class FileCall { Read, Write, MakeFolder, Rename, Exchange, Remove, Flush };
using FileFaultHook = std::function<int(FileCall call, const std::string &path)>;
void setFileFaultHook(FileFaultHook hook);
int fileFault(FileCall call, const std::string &path);

}  // namespace vidorun
