#pragma once

// Folders and files of a test's own, without Qt: a new folder under the
// system's temporary folder, removed with all it holds when the test is
// done, and the few file operations tests need.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace vidorun::testing {

class TemporaryFolder {
public:
    // Under `base`; under the system's temporary folder when it is empty.
    explicit TemporaryFolder(const std::string &base = std::string());
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    // The folder, absolute, every link resolved; empty when it could not be made.
    const std::string &path() const { return m_path; }
    // `name` in the folder.
    std::string filePath(std::string_view name) const { return m_path + '/' + std::string(name); }

private:
    std::string m_path;
};

// Writes a file whole, making the folders on its way.
void writeFileAt(const std::string &path, std::string_view bytes);
// A file's bytes; empty when it can't be read.
std::string readFileAt(const std::string &path);
void makeFolders(const std::string &path);
// The names of the folder's entries, hidden ones included, in byte order.
std::vector<std::string> folderEntries(const std::string &folder);
// Removes a file, or a folder with everything in it; a link goes itself.
void removeAll(const std::string &path);
// Lets its owner run the file as a program, or not (Unix; Windows runs a
// program by its name).
void makeRunnable(const std::string &path, bool runnable);
// Sets a variable of this process's environment, which the programs it
// starts inherit.
void setEnvironment(const std::string &name, const std::string &value);

// A test that runs in a temporary folder of its own, as its working folder.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // `name` in the test's folder; an absolute name stays as it is.
    std::string path(std::string_view name) const;
    void writeFile(std::string_view name, std::string_view bytes) const { writeFileAt(path(name), bytes); }
    std::string readFile(std::string_view name) const { return readFileAt(path(name)); }

    TemporaryFolder m_folder;
    std::string m_previousFolder;
};

// A project file in the program's own layout: each line ends in CR LF.
std::string projectText(const std::vector<std::string> &lines);

}  // namespace vidorun::testing
