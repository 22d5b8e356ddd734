#pragma once

// One listing of a disc folder: every entry under its root, each folder read
// once, no file opened, links (and on Windows junctions) noted but never
// followed.
#include "platform/disc_listing.h"
#include "platform/disc_path.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vidorun {

struct DiscEntry {
    std::string path;  // from the root, folders joined by "/", UTF-8; "" for the root
    std::string name;
    EntryKind kind = EntryKind::Folder;
    std::int64_t size = 0;  // of a file
    int parent = -1;   // the folder holding it; -1 for the root
    int depth = 0;     // folders between the root and the entry
    unsigned permissions = 0;  // as Unix mode bits: 0644 is rw-r--r--
    bool listed = true;  // a folder whose entries could be read
    // A link: where it leads, as the system resolves it, and whether that is
    // on the disc. Inside the disc, `target` is the entry it leads to. A link
    // that leads nowhere has no target; one that leads round in a loop says so.
    std::string linkTarget;
    bool linkInside = false;
    bool linkLoops = false;
    int target = -1;
    // A hard link to a file listed before it: a disc image holds the data once.
    bool dataShared = false;
    std::vector<int> children;  // of a folder

    // The path as messages show it: UTF-8, a byte of a name that is no
    // UTF-8 shown as U+FFFD.
    std::string shownPath() const;
};

// The walk stops at these, so that a folder given by mistake (a whole drive)
// or folders nested without end are not listed for minutes: a disc of movies
// holds a few hundred entries, and ISO 9660 counts 8 folder levels.
constexpr std::size_t MaxListedEntries = 100000;
constexpr int MaxListedLevels = 32;

class DiscIndex {
public:
    // Lists everything under `root`, up to `maxEntries` entries and folders
    // `maxLevels` levels below the root. A link is looked up (to know whether
    // it stays on the disc) but not entered, so the walk can't loop or leave.
    explicit DiscIndex(const std::string &root, std::size_t maxEntries = MaxListedEntries,
                       int maxLevels = MaxListedLevels);
    // The lookup keeps a reference to the listing it answers from.
    DiscIndex(const DiscIndex &) = delete;
    DiscIndex &operator=(const DiscIndex &) = delete;

    const std::string &canonicalRoot() const { return m_canonicalRoot; }
    const std::vector<DiscEntry> &entries() const { return m_entries; }
    const DiscEntry &at(int index) const { return m_entries[std::size_t(index)]; }
    // The entry at a path from the root ("" is the root); -1 when there is none.
    int find(const std::string &path) const;
    // Where a link that stays on the disc leads, else the entry itself.
    int followed(int index) const;
    // The first folder a limit left unlisted; -1 when the whole folder is
    // listed. Past `maxEntries` the walk stops there (`tooManyEntries`); a
    // folder too deep is left out alone.
    int stoppedAt() const { return m_stoppedAt; }
    bool tooManyEntries() const { return m_tooManyEntries; }

    // The program's path lookup, answered from this listing: a path from the
    // disc's root comes back as the path of the entry it finds ("movies/a.avi"),
    // or with its missing part as written. Never looks outside the disc.
    std::string resolve(const std::string &projectPath);

private:
    class Folders final : public DiscFolders {
    public:
        explicit Folders(const DiscIndex &index) : m_index(index) {}
        bool exists(const std::string &path) override;
        void forEachEntry(const std::string &folder, const std::function<void(std::string_view)> &visit) override;

    private:
        const DiscIndex &m_index;
    };

    std::string m_canonicalRoot;
    std::vector<DiscEntry> m_entries;
    int m_stoppedAt = -1;
    bool m_tooManyEntries = false;
    std::unordered_map<std::string, int> m_byPath;
    Folders m_folders{*this};
};

}  // namespace vidorun
