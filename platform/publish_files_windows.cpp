// Publishing's file work on Windows, on the Win32 API with UTF-16 paths:
// files are opened only once they are known to be files on a disk, and
// copied by CopyFileExW, which tells how far it got and can be stopped.
#include "platform/publish_files.h"

#include "platform/win32_api.h"

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <string>
#include <vector>

namespace vidorun {
namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

QString systemReason(DWORD error = ::GetLastError())
{
    wchar_t *text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                              | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString reason = length ? QString::fromWCharArray(text, int(length)).trimmed()
                            : QStringLiteral("system error %1").arg(error);
    ::LocalFree(text);
    return reason;
}

// The path for the wide API: backslashes, and past the old length limit of
// 260 characters the "\\?\" form, which takes only absolute paths.
std::wstring native(const QString &path)
{
    QString full = QDir::toNativeSeparators(path);
    if (full.size() >= MAX_PATH - 12) {
        full = QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
        full = full.startsWith(QLatin1String("\\\\")) ? QStringLiteral("\\\\?\\UNC\\") + full.mid(2)
                                                      : QStringLiteral("\\\\?\\") + full;
    }
    return full.toStdWString();
}

// CON, NUL, COM1 and their kind, with any extension, or a path to the
// device namespace: opening one talks to a device.
bool namesDevice(const QString &path)
{
    const QString clean = QDir::fromNativeSeparators(path);
    if (clean.startsWith(QLatin1String("//./")) || clean.startsWith(QLatin1String("//?/GLOBALROOT")))
        return true;
    QString stem = clean.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                        QStringLiteral("NUL"), QStringLiteral("CONIN$"),
                                        QStringLiteral("CONOUT$")};
    if (devices.contains(stem))
        return true;
    return stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))
           && stem[3] >= QLatin1Char('1') && stem[3] <= QLatin1Char('9');
}

class WindowsReadableFile final : public ReadableFile {
public:
    WindowsReadableFile(HANDLE file, qint64 size) : m_file(file), m_size(size) {}
    ~WindowsReadableFile() override { ::CloseHandle(m_file); }
    qint64 size() const override { return m_size; }
    qint64 read(char *buffer, qint64 size) override
    {
        DWORD got = 0;
        const auto wanted = DWORD(std::min<qint64>(size, 64 * 1024 * 1024));
        if (!::ReadFile(m_file, buffer, wanted, &got, nullptr)) {
            m_reason = systemReason();
            return -1;
        }
        return qint64(got);
    }
    QString reason() const override { return m_reason; }

private:
    HANDLE m_file;
    qint64 m_size;
    QString m_reason;
};

class WindowsWritableFile final : public WritableFile {
public:
    explicit WindowsWritableFile(HANDLE file) : m_file(file) {}
    ~WindowsWritableFile() override
    {
        if (m_file != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_file);
    }
    bool write(const char *data, qint64 size) override
    {
        while (size > 0) {
            DWORD written = 0;
            const auto piece = DWORD(std::min<qint64>(size, 64 * 1024 * 1024));
            if (!::WriteFile(m_file, data, piece, &written, nullptr) || written == 0) {
                m_reason = systemReason();
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }
    bool close() override
    {
        const HANDLE file = m_file;
        m_file = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(file)) {
            m_reason = systemReason();
            return false;
        }
        return true;
    }
    QString reason() const override { return m_reason; }

private:
    HANDLE m_file;
    QString m_reason;
};

struct CopyState {
    const CopyProgress *progress;
};

DWORD CALLBACK copyProgress(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                            HANDLE, HANDLE, LPVOID data)
{
    const auto *state = static_cast<const CopyState *>(data);
    return (*state->progress)(qint64(transferred.QuadPart)) ? PROGRESS_CONTINUE : PROGRESS_CANCEL;
}

bool removeFolderContents(const QString &folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(native(folder + QStringLiteral("/*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    QStringList names;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names << name;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    bool removed = true;
    for (const QString &name : names) {
        const QString path = folder + QLatin1Char('/') + name;
        const DWORD attributes = ::GetFileAttributesW(native(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            removed = false;
        } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A junction or a link to a folder goes itself; its target stays.
            if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                removed = removeFolderContents(path) && removed;
            removed = ::RemoveDirectoryW(native(path).c_str()) && removed;
        } else {
            ::SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            removed = ::DeleteFileW(native(path).c_str()) && removed;
        }
    }
    return removed;
}

// The path with its file's name as the folder spells it: the reader
// upper-cases the project's paths, and a disc takes the file's own name.
QString withNameAsSpelled(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    if (name.isEmpty() || name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')))
        return path;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(native(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return path;
    ::FindClose(search);
    return path.left(slash + 1) + QString::fromWCharArray(found.cFileName);
}

}  // namespace

class WindowsPublishFiles final : public PublishFiles {
public:
    QString locate(const QString &projectPath, const QString &projectFolder) override
    {
        // Windows itself finds names in any letter case and takes either
        // separator; only where a relative path starts needs saying.
        const QString path = QDir::fromNativeSeparators(projectPath);
        const QString folder = QDir::fromNativeSeparators(projectFolder);
        const bool drive = path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter();
        QString found;
        if (drive || path.startsWith(QLatin1String("//")))
            found = path;
        else if (path.startsWith(QLatin1Char('/')))
            found = folder.size() >= 2 && folder[1] == QLatin1Char(':') ? folder.left(2) + path : path;
        else
            found = folder.isEmpty() ? path : folder + QLatin1Char('/') + path;
        return withNameAsSpelled(found);
    }

    std::unique_ptr<ReadableFile> openForReading(const QString &path, FileKind &kind, QString &reason) override
    {
        kind = FileKind::Missing;
        if (path.isEmpty() || path.contains(QChar(u'\0'))) {
            reason = QStringLiteral("no such file");
            return nullptr;
        }
        if (namesDevice(path)) {
            kind = FileKind::Special;
            reason = QStringLiteral("a device, not a file");
            return nullptr;
        }
        const std::wstring name = native(path);
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            reason = systemReason();
            return nullptr;
        }
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            kind = FileKind::Folder;
            reason = QStringLiteral("a folder, not a file");
            return nullptr;
        }
        kind = FileKind::File;
        const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            reason = systemReason();
            return nullptr;
        }
        BY_HANDLE_FILE_INFORMATION information;
        LARGE_INTEGER size;
        if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &information)
            || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !::GetFileSizeEx(file, &size)) {
            ::CloseHandle(file);
            kind = FileKind::Special;
            reason = QStringLiteral("a pipe or device, not a file");
            return nullptr;
        }
        return std::make_unique<WindowsReadableFile>(file, qint64(size.QuadPart));
    }

    std::unique_ptr<WritableFile> create(const QString &path, bool, QString &reason) override
    {
        const HANDLE file = ::CreateFileW(native(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            reason = systemReason();
            return nullptr;
        }
        return std::make_unique<WindowsWritableFile>(file);
    }

    bool copy(const QString &source, const QString &target, const CopyProgress &progress, QString &reason) override
    {
        // Looked at as a reader would first: CopyFileExW would copy from a
        // device too.
        FileKind kind;
        if (!openForReading(source, kind, reason))
            return false;
        CopyState state{&progress};
        BOOL cancel = FALSE;
        if (!::CopyFileExW(native(source).c_str(), native(target).c_str(), copyProgress, &state, &cancel,
                           COPY_FILE_FAIL_IF_EXISTS)) {
            const DWORD error = ::GetLastError();
            reason = error == ERROR_REQUEST_ABORTED ? QStringLiteral("stopped") : systemReason(error);
            ::DeleteFileW(native(target).c_str());
            return false;
        }
        // The copy takes the source's attributes along; a read-only, hidden
        // or system movie must not become one on the disc.
        ::SetFileAttributesW(native(target).c_str(), FILE_ATTRIBUTE_NORMAL);
        return true;
    }

    bool makeFolder(const QString &path, QString &reason) override
    {
        if (::CreateDirectoryW(native(path).c_str(), nullptr))
            return true;
        reason = systemReason();
        return false;
    }

    bool exists(const QString &path) override
    {
        return !path.isEmpty() && ::GetFileAttributesW(native(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    bool rename(const QString &from, const QString &to, QString &reason) override
    {
        // Without MOVEFILE_REPLACE_EXISTING, nothing at `to` is replaced.
        if (::MoveFileExW(native(from).c_str(), native(to).c_str(), 0))
            return true;
        reason = systemReason();
        return false;
    }

    bool remove(const QString &path) override
    {
        const std::wstring name = native(path);
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return ::GetLastError() == ERROR_FILE_NOT_FOUND || ::GetLastError() == ERROR_PATH_NOT_FOUND;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            return ::DeleteFileW(name.c_str());
        }
        const bool emptied = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) || removeFolderContents(path);
        return ::RemoveDirectoryW(name.c_str()) && emptied;
    }

    std::function<void()> prepareImageLibrary(const QString &stagingFolder) override
    {
        // GetTempPathW, which libraries ask, takes TMP first.
        std::vector<wchar_t> value(32768);
        const DWORD length = ::GetEnvironmentVariableW(L"TMP", value.data(), DWORD(value.size()));
        const bool hadFolder = length > 0 && length < value.size();
        const std::wstring previous(value.data(), hadFolder ? length : 0);
        ::SetEnvironmentVariableW(L"TMP", QDir::toNativeSeparators(stagingFolder).toStdWString().c_str());
        return [hadFolder, previous] { ::SetEnvironmentVariableW(L"TMP", hadFolder ? previous.c_str() : nullptr); };
    }
};

std::unique_ptr<PublishFiles> makeNativePublishFiles()
{
    return std::make_unique<WindowsPublishFiles>();
}

}  // namespace vidorun
