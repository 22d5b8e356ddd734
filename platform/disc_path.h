#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vidorun {

// What the path lookup asks of the folders on its way. The system answers
// for the running program; the disc checker answers from the one listing of
// the disc it makes, so that nothing is looked up twice or outside the disc.
class DiscFolders {
public:
    virtual ~DiscFolders() = default;
    // Whether there is an entry at `path`, of any kind; a link counts as
    // itself, wherever it leads.
    virtual bool exists(const std::string &path) = 0;
    // Calls `visit` with the name of each entry of `folder` but "." and "..";
    // not at all when the folder can't be listed.
    virtual void forEachEntry(const std::string &folder, const std::function<void(std::string_view name)> &visit) = 0;
};

// Finds the file a project path stands for on a Unix file system.
//
// Discs are made on Windows, where "\" separates folders, "D:\" is the disc
// and letter case does not matter; the reader upper-cases every path it
// reads on top of that. A plain ISO 9660 disc mounted here shows its names in
// lower case, a Joliet disc in their original case. So:
//  - a path that is there as written is used as written;
//  - "\" is a separator like "/";
//  - a leading ".\", "./", drive letter ("D:\", "d:/", "D:") or single "\"
//    stands for the working folder, which is the disc's root when the
//    program runs from the disc;
//  - "." and ".." are taken as Windows takes them, by their text;
//  - every component is matched exactly, else case-insensitively among its
//    folder's entries, as Windows compares file names (fileNameFold in
//    projectfile/letter_case.h): an exact match always wins, and between
//    several case-insensitive matches the first in byte order wins.
// A relative path is looked up in `workingFolder` and comes back relative
// ("MOVIES\PART1.AVI" gives "movies/part1.avi"), an absolute one absolute.
// When a component can't be found, it and the rest are kept as written, so
// that a later open fails. Each folder on the way is listed at most once,
// and only when the exact name is not there.
std::string resolveDiscPath(std::string_view path, const std::string &workingFolder, DiscFolders &folders);

#ifndef _WIN32
// The same in the folders as this system shows them.
std::string resolveDiscPath(std::string_view path, const std::string &workingFolder);
#endif

}  // namespace vidorun
