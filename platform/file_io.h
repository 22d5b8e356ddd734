#pragma once

// Plain reading and saving of files by their UTF-8 paths, on the system's
// own calls (POSIX on Unix, the wide API on Windows).
#include <memory>
#include <string>

namespace vidorun {

// A file opened for reading.
class InputFile {
public:
    virtual ~InputFile() = default;
    // Up to `size` bytes into `buffer`: how many, 0 at the end, -1 on a
    // failure.
    virtual long long read(char *buffer, std::size_t size) = 0;
};

// Nothing when the file can't be opened for reading.
std::unique_ptr<InputFile> openInputFile(const std::string &path);

// The steps of saving a file whole: a new copy is made beside the target,
// written piece by piece, flushed, and only then put in the target's place.
// Until the commit the target stays as it was. Every step can fail; reason()
// then gives the system's words for it.
class SaveSteps {
public:
    virtual ~SaveSteps() = default;
    virtual bool open() = 0;
    virtual bool write(const std::string &piece) = 0;
    virtual bool flush() = 0;
    virtual bool commit() = 0;
    // Drops the copy, if there is one, after a failure at any step; the
    // target is left untouched.
    virtual void discard() = 0;
    virtual std::string reason() const = 0;
};

// The real steps: the copy is a new file in the target's folder, with the
// target's permissions when it has one, renamed over it on commit.
std::unique_ptr<SaveSteps> makeFileSaveSteps(const std::string &path);

}  // namespace vidorun
