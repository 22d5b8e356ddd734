// Publishing's file work on Windows, on the Win32 API with UTF-16 paths:
// files are opened only once they are known to be files on a disk. Every
// path is made absolute and given the "\\?\" form, so that no length limit
// applies; a rename or removal that a virus scanner or the indexer holds up
// for a moment is tried again.
#include "platform/publish_files.h"

#include "base/paths.h"
#include "base/utf8.h"
#include "platform/win32_api.h"
#include "platform/windows_patience.h"
#include "platform/windows_names.h"
#include "platform/windows_text.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vidorun {
namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD CopyPiece = 4 * 1024 * 1024;

// The system's words for the last failure.
std::string lastReason()
{
    return systemReason(::GetLastError());
}

// The fault a test asks for before a call; sets the last error to it.
bool faulted(FileCall call, const std::string &path)
{
    const int error = fileFault(call, path);
    if (error != 0)
        ::SetLastError(DWORD(error));
    return error != 0;
}

// The path for the wide API: absolute, backslashes, in the "\\?\" form that
// takes paths of any length (and passes names as they are).
std::wstring native(const std::string &path)
{
    const std::wstring given = wide(withBackslashes(path));
    if (given.empty() || given.rfind(L"\\\\?\\", 0) == 0 || given.rfind(L"\\\\.\\", 0) == 0)
        return given;
    const DWORD length = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return given;
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(given.c_str(), length, full.data(), nullptr);
    full.resize(written);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// A path to a device: CON, NUL, COM1 and their kind, with any extension, or
// one in the device namespace. Opening one talks to the device.
bool namesDevice(const std::string &path)
{
    const std::string clean = withSlashes(path);
    if (clean.rfind("//./", 0) == 0 || clean.rfind("//?/GLOBALROOT", 0) == 0)
        return true;
    return isWindowsDeviceName(toUtf16(fileNameOf(clean)));
}

class WindowsReadableFile final : public ReadableFile {
public:
    WindowsReadableFile(HANDLE file, std::int64_t size, std::string path) : m_file(file), m_size(size), m_path(std::move(path)) {}
    ~WindowsReadableFile() override { ::CloseHandle(m_file); }
    std::int64_t size() const override { return m_size; }
    std::int64_t read(char *buffer, std::int64_t size) override
    {
        DWORD got = 0;
        const auto wanted = DWORD(std::min<std::int64_t>(size, 64 * 1024 * 1024));
        if (faulted(FileCall::Read, m_path) || !::ReadFile(m_file, buffer, wanted, &got, nullptr)) {
            m_reason = lastReason();
            return -1;
        }
        return std::int64_t(got);
    }
    std::string reason() const override { return m_reason; }

private:
    HANDLE m_file;
    std::int64_t m_size;
    std::string m_path;
    std::string m_reason;
};

class WindowsWritableFile final : public WritableFile {
public:
    WindowsWritableFile(HANDLE file, std::string path) : m_file(file), m_path(std::move(path)) {}
    ~WindowsWritableFile() override
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
    }
    bool write(const char *data, std::int64_t size) override
    {
        if (faulted(FileCall::Write, m_path)) {
            m_reason = lastReason();
            return false;
        }
        while (size > 0) {
            DWORD written = 0;
            const auto piece = DWORD(std::min<std::int64_t>(size, 64 * 1024 * 1024));
            if (!::WriteFile(m_file, data, piece, &written, nullptr) || written == 0) {
                m_reason = lastReason();
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }
    // On the disk for good before it is closed: a disc is put in place only
    // once all of it is.
    bool close() override
    {
        if (m_file == INVALID_HANDLE_VALUE)
            return m_reason.empty();
        const HANDLE file = m_file;
        m_file = INVALID_HANDLE_VALUE;
        const bool flushed = ::FlushFileBuffers(file);
        const DWORD error = ::GetLastError();
        if (!::CloseHandle(file) || !flushed) {
            m_reason = systemReason(flushed ? ::GetLastError() : error);
            return false;
        }
        return true;
    }
    std::string reason() const override { return m_reason; }

private:
    HANDLE m_file;
    std::string m_path;
    std::string m_reason;
};

std::optional<FileIdentity> identityOf(const std::string &path, DWORD flags)
{
    const HANDLE file = ::CreateFileW(native(path).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = ::GetFileInformationByHandle(file, &information);
    ::CloseHandle(file);
    if (!known)
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        (std::uint64_t(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

bool removeFolderContents(const std::string &folder, DWORD &firstError)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(native(folder + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_FILE_NOT_FOUND)
            return true;
        firstError = firstError ? firstError : ::GetLastError();
        return false;
    }
    std::vector<std::string> names;
    do {
        const std::wstring_view name(found.cFileName);
        if (name != L"." && name != L"..")
            names.push_back(narrow(name));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    bool removed = true;
    const auto note = [&](bool done) {
        if (!done) {
            firstError = firstError ? firstError : ::GetLastError();
            removed = false;
        }
    };
    for (const std::string &name : names) {
        const std::string path = folder + '/' + name;
        const std::wstring onDisk = native(path);
        const DWORD attributes = ::GetFileAttributesW(onDisk.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            note(false);
        } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A junction or a link to a folder goes itself; its target stays.
            if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                removed = removeFolderContents(path, firstError) && removed;
            note(patiently([&] { return ::RemoveDirectoryW(onDisk.c_str()); }));
        } else {
            ::SetFileAttributesW(onDisk.c_str(), FILE_ATTRIBUTE_NORMAL);
            note(patiently([&] { return ::DeleteFileW(onDisk.c_str()); }));
        }
    }
    return removed;
}

bool listInto(const std::string &folder, const std::string &prefix, std::vector<TreeEntry> &entries, std::string &reason,
              int depth)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(native(folder + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_FILE_NOT_FOUND)
            return true;
        reason = lastReason();
        return false;
    }
    bool listed = true;
    do {
        const std::wstring_view wideName(found.cFileName);
        if (wideName == L"." || wideName == L"..")
            continue;
        const std::string name = narrow(wideName);
        const std::string path = folder + '/' + name;
        TreeEntry entry;
        entry.path = prefix + name;
        entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                       && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        entry.bytes = entry.folder ? 0 : std::int64_t((std::uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
        const std::optional<FileIdentity> identity = identityOf(path, FILE_FLAG_OPEN_REPARSE_POINT);
        if (!identity) {
            reason = lastReason();
            listed = false;
            break;
        }
        entry.identity = *identity;
        entries.push_back(entry);
        if (entry.folder && depth >= PublishFiles::MaxListedDepth) {
            reason = PublishFiles::TooDeepReason;
            listed = false;
            break;
        }
        if (entry.folder && !listInto(path, entry.path + '/', entries, reason, depth + 1)) {
            listed = false;
            break;
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return listed;
}

// The path with its file's name as the folder spells it: the reader
// upper-cases the project's paths, and a disc takes the file's own name.
std::string withNameAsSpelled(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.find_first_of("*?") != std::string::npos)
        return path;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(native(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return path;
    ::FindClose(search);
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + narrow(found.cFileName);
}

}  // namespace

class WindowsPublishFiles final : public PublishFiles {
public:
    std::string locate(const std::string &projectPath, const std::string &projectFolder) override
    {
        // Windows itself finds names in any letter case and takes either
        // separator; only where a relative path starts needs saying.
        const std::string path = withSlashes(projectPath);
        const std::string folder = withSlashes(projectFolder);
        const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
        const bool drive = path.size() >= 2 && path[1] == ':' && isLetter(path[0]);
        std::string found;
        if (drive || path.rfind("//", 0) == 0)
            found = path;
        else if (!path.empty() && path.front() == '/')
            found = folder.size() >= 2 && folder[1] == ':' ? folder.substr(0, 2) + path : path;
        else
            found = folder.empty() ? path : folder + '/' + path;
        return withNameAsSpelled(found);
    }

    std::unique_ptr<ReadableFile> openForReading(const std::string &path, FileKind &kind, std::string &reason) override
    {
        kind = FileKind::Missing;
        if (path.empty() || path.find('\0') != std::string::npos) {
            reason = "no such file";
            return nullptr;
        }
        if (namesDevice(path)) {
            kind = FileKind::Special;
            reason = "a device, not a file";
            return nullptr;
        }
        const std::wstring name = native(path);
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            reason = lastReason();
            return nullptr;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            kind = FileKind::Folder;
            reason = "a folder, not a file";
            return nullptr;
        }
        kind = FileKind::File;
        const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            reason = lastReason();
            return nullptr;
        }
        BY_HANDLE_FILE_INFORMATION information;
        LARGE_INTEGER size;
        if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &information)
            || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !::GetFileSizeEx(file, &size)) {
            ::CloseHandle(file);
            kind = FileKind::Special;
            reason = "a pipe or device, not a file";
            return nullptr;
        }
        return std::make_unique<WindowsReadableFile>(file, std::int64_t(size.QuadPart), path);
    }

    std::unique_ptr<WritableFile> create(const std::string &path, bool, std::string &reason) override
    {
        if (faulted(FileCall::Write, path)) {
            reason = lastReason();
            return nullptr;
        }
        const HANDLE file = ::CreateFileW(native(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            reason = lastReason();
            return nullptr;
        }
        return std::make_unique<WindowsWritableFile>(file, path);
    }

    // Through a buffer of ours rather than CopyFileExW, which could not say
    // whether reading or writing failed, and would copy the source's
    // attributes (read-only, hidden) to the disc.
    bool copy(const std::string &source, const std::string &target, const CopyProgress &progress,
              CopyFailure &failure) override
    {
        FileKind kind;
        failure = {};
        const std::unique_ptr<ReadableFile> from = openForReading(source, kind, failure.reason);
        if (!from) {
            failure.reading = true;
            return false;
        }
        // Made here, never taken over: only what this copy made is removed.
        const std::unique_ptr<WritableFile> to = create(target, false, failure.reason);
        if (!to)
            return false;
        std::vector<char> buffer(CopyPiece);
        bool copied = true;
        for (std::int64_t done = 0;;) {
            const std::int64_t n = from->read(buffer.data(), std::int64_t(buffer.size()));
            if (n < 0) {
                failure.reading = true;
                failure.reason = from->reason();
                copied = false;
                break;
            }
            if (n == 0)
                break;
            if (!to->write(buffer.data(), n)) {
                failure.reason = to->reason();
                copied = false;
                break;
            }
            done += n;
            if (!progress(done)) {
                failure.stopped = true;
                failure.reason = "stopped";
                copied = false;
                break;
            }
        }
        if (copied && !to->close()) {
            failure.reason = to->reason();
            copied = false;
        }
        if (!copied) {
            to->close();
            ::DeleteFileW(native(target).c_str());
        }
        return copied;
    }

    bool makeFolder(const std::string &path, std::string &reason) override
    {
        if (!faulted(FileCall::MakeFolder, path) && ::CreateDirectoryW(native(path).c_str(), nullptr))
            return true;
        reason = lastReason();
        return false;
    }

    bool exists(const std::string &path) override
    {
        return !path.empty() && ::GetFileAttributesW(native(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    bool rename(const std::string &from, const std::string &to, std::string &reason) override
    {
        // Without MOVEFILE_REPLACE_EXISTING, nothing at `to` is replaced.
        const std::wstring oldName = native(from), newName = native(to);
        if (!faulted(FileCall::Rename, from)
            && patiently([&] { return ::MoveFileExW(oldName.c_str(), newName.c_str(), MOVEFILE_WRITE_THROUGH); }))
            return true;
        reason = lastReason();
        return false;
    }

    bool exchange(const std::string &, const std::string &, bool &unsupported, std::string &) override
    {
        // Windows swaps no two folders in one step; the old one moves aside.
        unsupported = true;
        return false;
    }

    bool replaceFile(const std::string &from, const std::string &to, std::string &reason) override
    {
        const std::wstring oldName = native(from), newName = native(to);
        if (!faulted(FileCall::Rename, from) && patiently([&] {
                return ::MoveFileExW(oldName.c_str(), newName.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            }))
            return true;
        reason = lastReason();
        return false;
    }

    bool remove(const std::string &path, std::string &reason) override
    {
        const std::wstring name = native(path);
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return true;
            reason = systemReason(error);
            return false;
        }
        if (faulted(FileCall::Remove, path)) {
            reason = lastReason();
            return false;
        }
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (patiently([&] { return ::DeleteFileW(name.c_str()); }))
                return true;
            reason = lastReason();
            return false;
        }
        DWORD firstError = 0;
        if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            removeFolderContents(path, firstError);
        const bool gone = patiently([&] { return ::RemoveDirectoryW(name.c_str()); });
        if (gone && firstError == 0)
            return true;
        reason = systemReason(firstError ? firstError : ::GetLastError());
        return false;
    }

    std::optional<FileIdentity> identity(const std::string &path) override { return identityOf(path, 0); }

    std::optional<FileIdentity> entryIdentity(const std::string &path) override
    {
        return identityOf(path, FILE_FLAG_OPEN_REPARSE_POINT);
    }

    std::vector<FileIdentity> holdingFolders(const std::string &path) override
    {
        // The final path of what `path` leads to (links and junctions
        // followed), or of the nearest folder on its way that is there.
        std::string start = cleanPath(withSlashes(narrow(native(path))));
        HANDLE file = INVALID_HANDLE_VALUE;
        for (;;) {
            file = ::CreateFileW(native(start).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
            const std::size_t slash = start.rfind('/');
            if (file != INVALID_HANDLE_VALUE || slash == 0 || slash == std::string::npos)
                break;
            start = start.substr(0, slash);
        }
        std::vector<FileIdentity> chain;
        if (file == INVALID_HANDLE_VALUE)
            return chain;
        std::vector<wchar_t> final(32768);
        const DWORD length = ::GetFinalPathNameByHandleW(file, final.data(), DWORD(final.size()), FILE_NAME_NORMALIZED);
        ::CloseHandle(file);
        if (length == 0 || length >= final.size())
            return chain;
        std::string folder = withSlashes(narrow(std::wstring_view(final.data(), length)));
        // Each folder up to the volume's root, by identity.
        for (;;) {
            const std::size_t slash = folder.rfind('/');
            if (slash == 0 || slash == std::string::npos)
                break;
            folder = folder.substr(0, slash);
            const std::optional<FileIdentity> id = identityOf(folder + '/', 0);
            if (!id)
                break;
            chain.push_back(*id);
        }
        return chain;
    }

    std::optional<std::vector<TreeEntry>> listTree(const std::string &folder, std::string &reason) override
    {
        const DWORD attributes = ::GetFileAttributesW(native(folder).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)
            || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            reason = attributes == INVALID_FILE_ATTRIBUTES ? lastReason() : "not a folder";
            return std::nullopt;
        }
        std::vector<TreeEntry> entries;
        if (!listInto(folder, std::string(), entries, reason, 0))
            return std::nullopt;
        std::sort(entries.begin(), entries.end(), [](const TreeEntry &a, const TreeEntry &b) { return a.path < b.path; });
        return entries;
    }

    std::optional<std::int64_t> freeBytes(const std::string &folder) override
    {
        ULARGE_INTEGER available;
        if (!::GetDiskFreeSpaceExW(native(folder).c_str(), &available, nullptr, nullptr))
            return std::nullopt;
        return std::int64_t(available.QuadPart);
    }

    bool flush(const std::string &folder, std::string &reason) override
    {
        // Each file was flushed as it was closed, and each rename writes
        // through; there is no more to wait for.
        if (!faulted(FileCall::Flush, folder))
            return true;
        reason = lastReason();
        return false;
    }

    void setHidden(const std::string &path, bool hidden) override
    {
        const std::wstring name = native(path);
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return;
        const DWORD wanted = hidden ? attributes | FILE_ATTRIBUTE_HIDDEN : attributes & ~DWORD(FILE_ATTRIBUTE_HIDDEN);
        if (wanted != attributes)
            ::SetFileAttributesW(name.c_str(), wanted == 0 ? FILE_ATTRIBUTE_NORMAL : wanted);
    }

    // A Windows folder holds no two names that differ only in letter case.
    std::vector<std::string> caseTwins(const std::string &) override { return {}; }

    std::function<void()> prepareImageLibrary(const std::string &stagingFolder) override
    {
        // GetTempPathW, which libraries ask, takes TMP first.
        std::vector<wchar_t> value(32768);
        const DWORD length = ::GetEnvironmentVariableW(L"TMP", value.data(), DWORD(value.size()));
        const bool hadFolder = length > 0 && length < value.size();
        const std::wstring previous(value.data(), hadFolder ? length : 0);
        ::SetEnvironmentVariableW(L"TMP", wide(withBackslashes(stagingFolder)).c_str());
        return [hadFolder, previous] { ::SetEnvironmentVariableW(L"TMP", hadFolder ? previous.c_str() : nullptr); };
    }
};

std::unique_ptr<PublishFiles> makeNativePublishFiles()
{
    return std::make_unique<WindowsPublishFiles>();
}

}  // namespace vidorun
