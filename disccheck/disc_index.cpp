#include "disccheck/disc_index.h"

#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <set>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

std::string utf8(const QString &text)
{
    return text.toUtf8().toStdString();
}

// One entry of a folder as the system lists it.
struct Listed {
    std::string name;
    EntryKind kind = EntryKind::Special;
    qint64 size = 0;
    QFileDevice::Permissions permissions;
    QString linkTarget;  // where a link leads, every link on the way resolved; empty when nowhere
    bool linkLoops = false;
    bool dataShared = false;
};

#ifdef Q_OS_UNIX
QFileDevice::Permissions permissionsOf(mode_t mode)
{
    QFileDevice::Permissions p;
    const std::array<std::pair<mode_t, QFileDevice::Permission>, 9> bits = {{
        {S_IRUSR, QFileDevice::ReadOwner}, {S_IWUSR, QFileDevice::WriteOwner}, {S_IXUSR, QFileDevice::ExeOwner},
        {S_IRGRP, QFileDevice::ReadGroup}, {S_IWGRP, QFileDevice::WriteGroup}, {S_IXGRP, QFileDevice::ExeGroup},
        {S_IROTH, QFileDevice::ReadOther}, {S_IWOTH, QFileDevice::WriteOther}, {S_IXOTH, QFileDevice::ExeOther},
    }};
    for (const auto &[bit, permission] : bits) {
        if (mode & bit)
            p |= permission;
    }
    return p;
}

// The files seen so far with more than one name, by device and inode.
using HardLinks = std::set<std::pair<dev_t, ino_t>>;

// One look at each entry, without following it: a disc of thousands of files
// is listed in a few milliseconds.
bool listFolder(const std::string &folder, std::vector<Listed> &listed, HardLinks &hardLinks)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    while (const dirent *found = ::readdir(dir)) {
        const std::string_view name(found->d_name);
        if (name == "." || name == "..")
            continue;
        Listed entry;
        entry.name = std::string(name);
        struct stat info;
        if (::fstatat(fd, found->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            listed.push_back(std::move(entry));
            continue;
        }
        entry.permissions = permissionsOf(info.st_mode);
        if (S_ISLNK(info.st_mode)) {
            entry.kind = EntryKind::Link;
            const std::string path = folder + '/' + entry.name;
            if (char *target = ::realpath(path.c_str(), nullptr)) {
                entry.linkTarget = QFile::decodeName(target);
                std::free(target);
            } else {
                entry.linkLoops = errno == ELOOP;
            }
        } else if (S_ISDIR(info.st_mode)) {
            entry.kind = EntryKind::Folder;
        } else if (S_ISREG(info.st_mode)) {
            entry.kind = EntryKind::File;
            entry.size = qint64(info.st_size);
            entry.dataShared = info.st_nlink > 1 && !hardLinks.emplace(info.st_dev, info.st_ino).second;
        }
        listed.push_back(std::move(entry));
    }
    ::closedir(dir);
    return true;
}
#else
struct HardLinks {};

bool listFolder(const std::string &folder, std::vector<Listed> &listed, HardLinks &)
{
    const QString path = QString::fromUtf8(folder.c_str(), qsizetype(folder.size()));
    const QFileInfo folderInfo(path);
    if (!folderInfo.isDir() || !folderInfo.isReadable())
        return false;
    // System entries too: links and whatever else is there.
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        Listed entry;
        entry.name = utf8(info.fileName());
        entry.permissions = info.permissions();
        // A junction is a folder that leads elsewhere, to a parent or a
        // whole drive as well: a link, never walked into.
        if (info.isSymbolicLink() || info.isJunction()) {
            entry.kind = EntryKind::Link;
            entry.linkTarget = info.canonicalFilePath();
        } else if (info.isDir()) {
            entry.kind = EntryKind::Folder;
        } else if (info.isFile()) {
            entry.kind = EntryKind::File;
            entry.size = info.size();
        }
        listed.push_back(std::move(entry));
    }
    return true;
}
#endif

}  // namespace

DiscIndex::DiscIndex(const QString &root, std::size_t maxEntries, int maxLevels)
{
    const QFileInfo rootInfo(root);
    m_canonicalRoot = rootInfo.canonicalFilePath();
    DiscEntry top;
    top.permissions = rootInfo.permissions();
    m_entries.push_back(std::move(top));
    if (!rootInfo.isDir())
        return;

    const std::string rootPath = utf8(m_canonicalRoot);
    std::vector<int> links;
    std::vector<int> pending = {0};
    std::vector<Listed> listed;
    HardLinks hardLinks;
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
            listFolder(folder == 0 ? rootPath : rootPath + '/' + at(folder).path, listed, hardLinks);
        if (m_entries.size() + listed.size() > maxEntries) {
            m_stoppedAt = folder;
            m_tooManyEntries = true;
            break;
        }
        std::sort(listed.begin(), listed.end(), [](const Listed &a, const Listed &b) { return a.name < b.name; });

        std::vector<int> subfolders;
        for (Listed &found : listed) {
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
                entry.linkTarget = found.linkTarget;
                entry.linkLoops = found.linkLoops;
                entry.linkInside = !entry.linkTarget.isEmpty()
                                   && (entry.linkTarget == m_canonicalRoot
                                       || entry.linkTarget.startsWith(m_canonicalRoot + QLatin1Char('/')));
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
            entry.target = entry.linkTarget == m_canonicalRoot ? 0 : find(utf8(entry.linkTarget.mid(m_canonicalRoot.size() + 1)));
    }
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

std::string DiscIndex::resolve(const QString &projectPath)
{
    return resolveDiscPath(utf8(projectPath), ".", m_folders);
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
