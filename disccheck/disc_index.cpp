#include "disccheck/disc_index.h"

#include "base/text.h"
#include "base/utf8.h"
#include "platform/file_places.h"

#include <algorithm>
#include <optional>

namespace vidorun {

namespace {

// The lookup runs in the working folder ".", so it asks for "." and "./...";
// anything else (a path through "..") is not on the disc.
std::optional<std::string> fromRoot(const std::string &path)
{
    if (path == ".")
        return std::string();
    if (path.size() > 2 && path.compare(0, 2, "./") == 0)
        return path.substr(2);
    return std::nullopt;
}

}  // namespace

DiscIndex::DiscIndex(const std::string &root, std::size_t maxEntries, int maxLevels)
{
    const PathLook rootLook = lookAt(root);
    m_canonicalRoot = canonicalPath(root);
    DiscEntry top;
    top.permissions = rootLook.permissions;
    m_entries.push_back(std::move(top));
    if (rootLook.kind != FileKind::Folder)
        return;

    const std::string &rootPath = m_canonicalRoot;
    std::vector<int> links;
    std::vector<int> pending = {0};
    std::vector<ListedEntry> listed;
    FolderListing listing;
    while (!pending.empty()) {
        const int folder = pending.back();
        pending.pop_back();
        // The root is level 0, a folder on it level 1. A folder too deep is
        // left unlisted, and the walk goes on beside it.
        if (folder != 0 && at(folder).depth + 1 > maxLevels) {
            if (m_stoppedAt < 0)
                m_stoppedAt = folder;
            continue;
        }
        listed.clear();
        m_entries[std::size_t(folder)].listed =
            listing.list(folder == 0 ? rootPath : rootPath + '/' + at(folder).path, listed);
        if (m_entries.size() + listed.size() > maxEntries) {
            m_stoppedAt = folder;
            m_tooManyEntries = true;
            break;
        }
        std::sort(listed.begin(), listed.end(),
                  [](const ListedEntry &a, const ListedEntry &b) { return a.name < b.name; });

        std::vector<int> subfolders;
        for (ListedEntry &found : listed) {
            DiscEntry entry;
            entry.name = std::move(found.name);
            entry.path = folder == 0 ? entry.name : at(folder).path + '/' + entry.name;
            entry.parent = folder;
            entry.depth = folder == 0 ? 0 : at(folder).depth + 1;
            entry.kind = found.kind;
            entry.size = found.size;
            entry.dataShared = found.dataShared;
            entry.permissions = found.permissions;
            if (entry.kind == EntryKind::Link) {
                entry.linkTarget = std::move(found.linkTarget);
                entry.linkLoops = found.linkLoops;
                entry.linkInside = !entry.linkTarget.empty()
                                   && (entry.linkTarget == m_canonicalRoot
                                       || startsWith(entry.linkTarget, m_canonicalRoot + '/'));
            }
            const int index = int(m_entries.size());
            m_byPath.emplace(entry.path, index);
            m_entries[std::size_t(folder)].children.push_back(index);
            if (entry.kind == EntryKind::Folder)
                subfolders.push_back(index);
            else if (entry.kind == EntryKind::Link)
                links.push_back(index);
            m_entries.push_back(std::move(entry));
        }
        // The first folder in name order is listed next.
        pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
    }

    // A link that stays on the disc stands for the entry it leads to.
    for (const int link : links) {
        DiscEntry &entry = m_entries[std::size_t(link)];
        if (entry.linkInside)
            entry.target = entry.linkTarget == m_canonicalRoot ? 0 : find(entry.linkTarget.substr(m_canonicalRoot.size() + 1));
    }
}

std::string DiscEntry::shownPath() const
{
    return asValidUtf8(path);
}

int DiscIndex::find(const std::string &path) const
{
    if (path.empty())
        return 0;
    const auto it = m_byPath.find(path);
    return it == m_byPath.end() ? -1 : it->second;
}

int DiscIndex::followed(int index) const
{
    const DiscEntry &entry = at(index);
    return entry.kind == EntryKind::Link && entry.target >= 0 ? entry.target : index;
}

std::string DiscIndex::resolve(const std::string &projectPath)
{
    return resolveDiscPath(projectPath, ".", m_folders);
}

bool DiscIndex::Folders::exists(const std::string &path)
{
    const std::optional<std::string> relative = fromRoot(path);
    return relative && m_index.find(*relative) >= 0;
}

void DiscIndex::Folders::forEachEntry(const std::string &folder, const std::function<void(std::string_view)> &visit)
{
    const std::optional<std::string> relative = fromRoot(folder);
    const int index = relative ? m_index.find(*relative) : -1;
    if (index < 0 || m_index.at(index).kind != EntryKind::Folder)
        return;
    for (const int child : m_index.at(index).children)
        visit(m_index.at(child).name);
}

}  // namespace vidorun
