// The Windows layer on Windows' own API (run under Wine by `make test`):
// documents reach their associated program as one whole path, programs start
// as themselves, the file test takes only files, and the tray commands never
// hang a machine without a CD drive.
#include "platform/file_test.h"
#include "platform/win32_api.h"
#include "platform/windows_services.h"
#include "platform/windows_text.h"

#include <commdlg.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace vidorun;

namespace {

void writeFile(const std::wstring &path, const std::string &bytes)
{
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

bool exists(const std::wstring &path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The lines the stand-in program recorded: its argument count, then each
// argument, its own name first. Waits up to ten seconds for them.
std::vector<std::string> waitForRecord(const std::wstring &record)
{
    for (int i = 0; i < 100; ++i) {
        std::ifstream file(std::filesystem::path(record), std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        const std::string text = content.str();
        if (!text.empty()) {
            std::vector<std::string> lines;
            std::stringstream split(text);
            for (std::string line; std::getline(split, line);)
                lines.push_back(line);
            return lines;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

// Sets the default value of a key of the file types (HKEY_CLASSES_ROOT).
void setClassesText(const std::wstring &key, const std::wstring &value)
{
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                     DWORD((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
}

class WindowsLayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"vidorun-layer-" + std::to_wstring(::GetCurrentProcessId()) + L"-"
                   + std::to_wstring(::GetTickCount());
        ASSERT_TRUE(::CreateDirectoryW(m_folder.c_str(), nullptr));
        m_record = m_folder + L"\\record.txt";
        ::SetEnvironmentVariableW(L"VIDORUN_START_RECORD", m_record.c_str());
    }

    // A copy of the recording stand-in at `path`.
    void placeRecorder(const std::wstring &path)
    {
        ASSERT_TRUE(::CopyFileW(wide(RECORD_START_PROGRAM).c_str(), path.c_str(), FALSE)) << narrow(path);
    }

    std::wstring m_folder;
    std::wstring m_record;
};

TEST_F(WindowsLayer, AMovieReachesItsPlayerAsOneWholePathAndNoCommandRuns)
{
    const std::wstring player = m_folder + L"\\player.exe";
    placeRecorder(player);
    setClassesText(L".avi", L"VidorunTest.Movie");
    setClassesText(L"VidorunTest.Movie\\shell\\open\\command", L"\"" + player + L"\" \"%1\"");

    // What a command interpreter would take for commands, variables and
    // escapes (a name can't hold a redirection). The variable is one that is
    // not set: Wine's shell expands variables in every file name it opens,
    // unlike Windows', which does so only when asked.
    const std::wstring movie = m_folder + L"\\Day 1 & copy nul pwned.txt & %VIDORUN_UNSET% ^ ; (final).avi";
    writeFile(movie, "RIFF....AVI ");
    ASSERT_TRUE(exists(movie));

    const win32::StartResult started = win32::openDocumentMinimized(movie);
    ASSERT_TRUE(started.started) << narrow(started.error);
    const std::vector<std::string> record = waitForRecord(m_record);
    ASSERT_EQ(record.size(), 3u) << "the player was not started with one argument";
    EXPECT_EQ(record[0], "2");
    EXPECT_EQ(record[2], narrow(movie));
    EXPECT_FALSE(exists(m_folder + L"\\pwned.txt"));
    EXPECT_FALSE(exists(L"pwned.txt"));
}

TEST_F(WindowsLayer, AFileTypeWithoutAProgramIsReportedWithoutAsking)
{
    const std::wstring movie = m_folder + L"\\movie.vidorun-no-such-type";
    writeFile(movie, "data");
    const auto begin = std::chrono::steady_clock::now();
    const win32::StartResult started = win32::openDocumentMinimized(movie);
    EXPECT_FALSE(started.started);
    EXPECT_FALSE(started.error.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(10)) << "a dialog waited for an answer";
}

TEST_F(WindowsLayer, AnInstallerUnderProgramFilesStartsAndTheDecoyNeverRuns)
{
    // Windows reads an unquoted "C:\Program Files\..." command line as
    // C:\Program.exe with arguments when that file exists.
    const std::wstring folder = L"C:\\Program Files\\Vidorun Test";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring setup = folder + L"\\setup.exe";
    const std::wstring decoy = L"C:\\Program.exe";
    placeRecorder(setup);
    placeRecorder(decoy);

    const win32::StartResult started = win32::startProgram(setup);
    ASSERT_TRUE(started.started) << narrow(started.error);
    const std::vector<std::string> record = waitForRecord(m_record);
    ::DeleteFileW(decoy.c_str());
    ASSERT_EQ(record.size(), 2u) << "the installer was started with arguments, or the decoy ran";
    EXPECT_EQ(record[0], "1");
    EXPECT_NE(record[1].find("Vidorun Test\\setup.exe"), std::string::npos) << record[1];
}

TEST_F(WindowsLayer, OnlyReadableRegularFilesAreFiles)
{
    const std::wstring file = m_folder + L"\\Autorun.inf";
    writeFile(file, "[vidorun]\r\n");
    EXPECT_TRUE(isReadableRegularFile(narrow(file)));
    EXPECT_FALSE(isReadableRegularFile(narrow(m_folder)));
    EXPECT_FALSE(isReadableRegularFile(narrow(m_folder + L"\\missing.avi")));
    EXPECT_FALSE(isReadableRegularFile(narrow(m_folder + L"\\no folder\\missing.avi")));
    EXPECT_FALSE(isReadableRegularFile(""));
    EXPECT_FALSE(isReadableRegularFile("NUL"));
}

TEST_F(WindowsLayer, TrayCommandsWithoutADriveReturnAtOnce)
{
    const auto begin = std::chrono::steady_clock::now();
    const int opened = win32::sendMciString("set CDAudio door open");
    const int closed = win32::sendMciString("set CDAudio door closed");
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    // No drive, no door: the system says so rather than pretending.
    EXPECT_NE(opened, 0);
    EXPECT_NE(closed, 0);
}

// The file dialogs: the program's filter and flags as comdlg32 takes them,
// and a real dialog answered as a user would, from another thread.
TEST_F(WindowsLayer, TheFileDialogTakesTheProgramsFilterAndFlags)
{
    using namespace std::string_literals;
    EXPECT_EQ(win32::commonDialogFilter(L"All Files (*.*)|*.*|Autorun files (autorun.inf)|autorun.inf"),
              L"All Files (*.*)\0*.*\0Autorun files (autorun.inf)\0autorun.inf\0\0"s);
    const unsigned long flags = win32::commonDialogFlags(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_EQ(flags & (OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR),
              static_cast<unsigned long>(OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR));
    EXPECT_EQ(flags & (OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST), 0ul)
        << "the program asks its own questions";
}

// Shows a real dialog: ctest runs it apart, as windows.file_dialog.
TEST_F(WindowsLayer, AFileChosenElsewhereLeavesTheWorkingFolderWhereItWas)
{
    wchar_t display[256];
    if (!::GetEnvironmentVariableW(L"DISPLAY", display, 256) || !display[0])
        GTEST_SKIP() << "no display to show a dialog on";
    const std::wstring other = m_folder + L"\\other folder";
    ASSERT_TRUE(::CreateDirectoryW(other.c_str(), nullptr));
    ASSERT_TRUE(::SetCurrentDirectoryW(m_folder.c_str()));
    for (const bool save : {true, false}) {
        win32::FileDialogOptions options;
        options.save = save;
        options.title = save ? L"Vidorun layer test: save" : L"Vidorun layer test: open";
        options.filter = L"Autorun file (autorun.inf)|*.inf";
        options.flags = OFN_HIDEREADONLY;
        // A name typed for a file that doesn't exist yet is handed back.
        options.fileName = other + L"\\Autorun.inf";
        std::thread user([title = options.title] {
            for (int i = 0; i < 400; ++i) {
                if (const HWND dialog = ::FindWindowW(L"#32770", title.c_str())) {
                    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                    return;
                }
                ::Sleep(25);
            }
        });
        const std::optional<std::wstring> chosen = win32::runFileDialog(nullptr, options);
        user.join();
        ASSERT_TRUE(chosen.has_value()) << "no dialog, or it was cancelled; comdlg32 error "
                                        << ::CommDlgExtendedError();
        EXPECT_EQ(narrow(*chosen), narrow(other + L"\\Autorun.inf"));
        wchar_t current[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, current);
        EXPECT_EQ(narrow(current), narrow(m_folder)) << "the dialog moved the working folder";
    }
}

}  // namespace
