#pragma once

// What the disc check asks of the system: a folder's entries, each looked
// at once and never opened, links (and on Windows junctions) noted but never
// followed.
#include "platform/publish_files.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vidorun {

enum class EntryKind { File, Folder, Link, Special };

// One entry of a folder as the system lists it.
struct ListedEntry {
    std::string name;  // UTF-8 on Windows; on Unix the name's bytes as they are
    EntryKind kind = EntryKind::Special;
    std::int64_t size = 0;     // of a file
    unsigned permissions = 0;  // read, write, execute for owner, group and others, as Unix mode bits 0777
    // Where a link leads, every link on the way resolved; empty when it
    // leads nowhere. On Unix a link may lead round in a loop.
    std::string linkTarget;
    bool linkLoops = false;
    // A hard link to a file listed before it: the same data under another name.
    bool dataShared = false;
};

class FolderListing {
public:
    // Adds the entries of `folder` but "." and ".." to `entries`; false when
    // the folder can't be read. Hard links are known across the calls.
    bool list(const std::string &folder, std::vector<ListedEntry> &entries);

private:
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_linkedFiles;  // by device and file number
};

// What is at `path`, links followed, and who may do what with it (as in
// ListedEntry); `readable` when this user may read it.
struct PathLook {
    FileKind kind = FileKind::Missing;
    bool readable = false;
    unsigned permissions = 0;
};
PathLook lookAt(const std::string &path);

// Whether `folder` holds an entry whose name `matches`; its names are read,
// nothing more, and only until one matches.
bool holdsEntry(const std::string &folder, const std::function<bool(std::string_view name)> &matches);

}  // namespace vidorun
