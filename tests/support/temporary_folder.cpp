#include "support/temporary_folder.h"

#include "platform/file_places.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include "platform/win32_api.h"
#include "platform/windows_text.h"

#include <random>
#else
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vidorun::testing {

#ifdef _WIN32

TemporaryFolder::TemporaryFolder(const std::string &base)
{
    wchar_t system[MAX_PATH + 1];
    const DWORD length = base.empty() ? ::GetTempPathW(MAX_PATH + 1, system) : 0;
    const std::string under = base.empty() ? narrow(std::wstring_view(system, length)) : base + '/';
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; !under.empty() && attempt < 100; ++attempt) {
        const std::string path = under + "vidorun-test-" + std::to_string(random());
        if (::CreateDirectoryW(widePath(path).c_str(), nullptr)) {
            m_path = canonicalPath(path);
            return;
        }
    }
    ADD_FAILURE() << "no temporary folder could be made";
}

void makeFolders(const std::string &path)
{
    for (std::size_t at = path.find_first_of("/\\", 3); at != std::string::npos; at = path.find_first_of("/\\", at + 1))
        ::CreateDirectoryW(widePath(path.substr(0, at)).c_str(), nullptr);
    ::CreateDirectoryW(widePath(path).c_str(), nullptr);
}

void removeAll(const std::string &path)
{
    const std::wstring name = widePath(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    ::SetFileAttributesW(name.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(name.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW found;
        const HANDLE search = ::FindFirstFileW(widePath(path + "/*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring_view entry(found.cFileName);
                if (entry != L"." && entry != L"..")
                    removeAll(path + '/' + narrow(entry));
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
    }
    ::RemoveDirectoryW(name.c_str());
}

void makeRunnable(const std::string &, bool) {}

void setEnvironment(const std::string &name, const std::string &value)
{
    ::_wputenv_s(wide(name).c_str(), wide(value).c_str());
}

std::vector<std::string> folderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(widePath(folder + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring_view name(found.cFileName);
        if (name != L"." && name != L"..")
            names.push_back(narrow(name));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

#else

TemporaryFolder::TemporaryFolder(const std::string &base)
{
    const char *system = std::getenv("TMPDIR");
    const std::string under = !base.empty() ? base : system && *system ? system : "/tmp";
    std::string pattern = under + "/vidorun-test-XXXXXX";
    if (::mkdtemp(pattern.data()))
        m_path = canonicalPath(pattern);
    else
        ADD_FAILURE() << "no temporary folder could be made in " << pattern;
}

void makeFolders(const std::string &path)
{
    for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        ::mkdir(path.substr(0, at).c_str(), 0755);
    ::mkdir(path.c_str(), 0755);
}

void removeAll(const std::string &path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return;
    if (!S_ISDIR(info.st_mode)) {
        ::unlink(path.c_str());
        return;
    }
    // A folder a test made unreadable is opened up to be emptied.
    ::chmod(path.c_str(), 0700);
    if (DIR *dir = ::opendir(path.c_str())) {
        std::vector<std::string> names;
        while (const dirent *entry = ::readdir(dir)) {
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..")
                names.emplace_back(name);
        }
        ::closedir(dir);
        for (const std::string &name : names)
            removeAll(path + '/' + name);
    }
    ::rmdir(path.c_str());
}

void makeRunnable(const std::string &path, bool runnable)
{
    ::chmod(path.c_str(), runnable ? 0700 : 0600);
}

void setEnvironment(const std::string &name, const std::string &value)
{
    ::setenv(name.c_str(), value.c_str(), 1);
}

std::vector<std::string> folderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            const std::string_view name(entry->d_name);
            if (name != "." && name != "..")
                names.emplace_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

#endif

TemporaryFolder::~TemporaryFolder()
{
    if (!m_path.empty())
        removeAll(m_path);
}

void writeFileAt(const std::string &path, std::string_view bytes)
{
    makeFolders(absoluteFolderOf(path));
#ifdef _WIN32
    std::FILE *file = ::_wfopen(widePath(path).c_str(), L"wb");
#else
    std::FILE *file = std::fopen(path.c_str(), "wb");
#endif
    ASSERT_NE(file, nullptr) << path;
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    EXPECT_EQ(std::fclose(file), 0) << path;
    EXPECT_EQ(written, bytes.size()) << path;
}

std::string readFileAt(const std::string &path)
{
#ifdef _WIN32
    std::FILE *file = ::_wfopen(widePath(path).c_str(), L"rb");
#else
    std::FILE *file = std::fopen(path.c_str(), "rb");
#endif
    std::string bytes;
    if (!file)
        return bytes;
    char buffer[64 * 1024];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

void FolderTest::SetUp()
{
    ASSERT_FALSE(m_folder.path().empty());
    m_previousFolder = currentFolder();
    ASSERT_TRUE(setCurrentFolder(m_folder.path()));
}

void FolderTest::TearDown()
{
    setCurrentFolder(m_previousFolder);
}

std::string FolderTest::path(std::string_view name) const
{
    const bool absolute = (!name.empty() && (name.front() == '/' || name.front() == '\\'))
                          || (name.size() >= 2 && name[1] == ':');
    return absolute ? std::string(name) : m_folder.filePath(name);
}

std::string projectText(const std::vector<std::string> &lines)
{
    std::string bytes;
    for (const std::string &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

}  // namespace vidorun::testing
