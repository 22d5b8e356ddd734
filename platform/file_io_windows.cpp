// Reading and saving files on Windows, on the wide API.
#include "platform/file_io.h"

#include "base/paths.h"
#include "platform/win32_api.h"
#include "platform/windows_patience.h"
#include "platform/windows_text.h"

namespace vidorun {

namespace {

class WindowsInputFile final : public InputFile {
public:
    explicit WindowsInputFile(HANDLE file) : m_file(file) {}
    ~WindowsInputFile() override { ::CloseHandle(m_file); }
    long long read(char *buffer, std::size_t size) override
    {
        DWORD got = 0;
        const DWORD wanted = size > 0x4000000 ? 0x4000000 : DWORD(size);
        return ::ReadFile(m_file, buffer, wanted, &got, nullptr) ? (long long)got : -1;
    }

private:
    HANDLE m_file;
};

class WindowsSaveSteps final : public SaveSteps {
public:
    explicit WindowsSaveSteps(std::string path) : m_path(std::move(path)) {}
    ~WindowsSaveSteps() override { discard(); }

    bool open() override
    {
        const std::wstring target = widePath(m_path);
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        if (!m_path.empty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return fail(ERROR_ACCESS_DENIED);
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const std::string copy = inFolder(folderOf(m_path), fileNameOf(m_path) + ".vidorun-save-"
                                                                    + std::to_string(::GetTickCount() + attempt));
            m_file = ::CreateFileW(widePath(copy).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            if (m_file != INVALID_HANDLE_VALUE) {
                m_copy = copy;
                return true;
            }
            if (::GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        return fail(::GetLastError());
    }

    bool write(const std::string &piece) override
    {
        std::size_t done = 0;
        while (done < piece.size()) {
            DWORD written = 0;
            const DWORD size = DWORD(piece.size() - done > 0x4000000 ? 0x4000000 : piece.size() - done);
            if (!::WriteFile(m_file, piece.data() + done, size, &written, nullptr) || written == 0)
                return fail(::GetLastError());
            done += written;
        }
        return true;
    }

    bool flush() override { return ::FlushFileBuffers(m_file) || fail(::GetLastError()); }

    bool commit() override
    {
        const HANDLE file = m_file;
        m_file = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(file))
            return fail(::GetLastError());
        const std::wstring copy = widePath(m_copy), target = widePath(m_path);
        if (!patiently([&] {
                return ::MoveFileExW(copy.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            }))
            return fail(::GetLastError());
        m_copy.clear();
        return true;
    }

    void discard() override
    {
        if (m_file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_file);
            m_file = INVALID_HANDLE_VALUE;
        }
        if (!m_copy.empty()) {
            ::DeleteFileW(widePath(m_copy).c_str());
            m_copy.clear();
        }
    }

    std::string reason() const override { return m_reason; }

private:
    bool fail(DWORD error)
    {
        m_reason = systemReason(error);
        return false;
    }

    std::string m_path;
    std::string m_copy;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::string m_reason;
};

}  // namespace

std::unique_ptr<InputFile> openInputFile(const std::string &path)
{
    const HANDLE file = ::CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<WindowsInputFile>(file);
}

std::unique_ptr<SaveSteps> makeFileSaveSteps(const std::string &path)
{
    return std::make_unique<WindowsSaveSteps>(path);
}

}  // namespace vidorun
