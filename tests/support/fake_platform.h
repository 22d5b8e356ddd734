#pragma once

#include "platform/platform.h"

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vidorun::testing {

struct ShownMessage {
    std::string text;
    std::string title;
    int style = 0;
    bool operator==(const ShownMessage &) const = default;
};

// How a failed comparison shows a message: {"text", "title", style}, with
// line breaks and other control characters written as escapes.
void PrintTo(const ShownMessage &message, std::ostream *out);

// Records every message box and answers from a script (OK, or the next
// scripted Yes/No; No when the script has run out).
class FakeMessages final : public MessageBoxes {
public:
    MsgAnswer show(const ui::WindowView *parent, const std::string &text, const std::string &title,
                   int style) override;
    std::vector<ShownMessage> shown;
    std::deque<MsgAnswer> answers;
};

class FakeInputBox final : public InputBox {
public:
    std::string ask(const ui::WindowView *parent, const std::string &prompt, const std::string &title,
                    const std::string &defaultAnswer) override;
    struct Asked {
        std::string prompt, title, defaultAnswer;
    };
    std::vector<Asked> asked;
    std::deque<std::string> answers;  // "" (a cancel) when the script has run out
};

// Records each dialog request and answers the next scripted choice; nothing
// in the script (or std::nullopt) is a cancel.
class FakeFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> run(const ui::WindowView *parent, FileDialogKind kind,
                                   const FileDialogRequest &request) override;
    struct Use {
        FileDialogKind kind;
        FileDialogRequest request;
    };
    std::vector<Use> uses;
    std::deque<std::optional<std::string>> answers;
};

class FakeLauncher final : public Launcher {
public:
    LaunchResult openDocument(const std::string &path) override;
    LaunchResult startProgram(const std::string &path) override;
    std::vector<std::string> documents;
    std::vector<std::string> programs;
    bool fail = false;
};

class FakeMediaControl final : public MediaControl {
public:
    int sendString(const std::string &command) override;
    std::vector<std::string> commands;
    int result = 0;
};

class FakeSystemInfo final : public SystemInfo {
public:
    int platformId() override { return id; }
    int id = 1;
};

// The real file test and lookups, which tests run in their own folder.
class RealFiles final : public FileSystem {
public:
    RealFiles();
    ~RealFiles() override;
    bool fileExists(const std::string &path) override;
    std::string resolve(const std::string &path) override;

private:
    std::unique_ptr<FileSystem> m_real;
};

// The front end's real picture loading, recorded; loads at once, unless
// `deferred`: then the pictures asked for in the background arrive when the
// test calls finishBackgroundLoads(), in the order asked for.
class FakePictures final : public PictureLoader {
public:
    explicit FakePictures(PictureLoader &real) : m_real(real) {}
    PictureHandle load(const std::string &path, int width, int height) override;
    void loadInBackground(const std::string &path, int width, int height,
                          std::function<void(PictureHandle)> done) override;
    void finishBackgroundLoads();
    std::vector<std::string> loaded;  // every path asked for
    bool deferred = false;

private:
    struct PendingLoad {
        PictureHandle picture;
        std::function<void(PictureHandle)> done;
    };
    PictureLoader &m_real;
    std::vector<PendingLoad> m_pending;
};

// One of each, handed to the main window as a Platform.
struct FakePlatform {
    explicit FakePlatform(PictureLoader &realPictures) : pictures(realPictures) {}

    FakeMessages messages;
    FakeInputBox input;
    FakeFileDialogs dialogs;
    FakeLauncher launcher;
    FakeMediaControl media;
    FakeSystemInfo system;
    RealFiles files;
    FakePictures pictures;

    Platform platform() { return Platform{messages, input, dialogs, launcher, media, system, files, pictures}; }
};

}  // namespace vidorun::testing
