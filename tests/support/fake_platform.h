#pragma once

#include "platform/platform.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace vidorun::testing {

struct ShownMessage {
    QString text;
    QString title;
    int style = 0;
};

// Records every message box and answers from a script (OK, or the next
// scripted Yes/No; No when the script has run out).
class FakeMessages final : public MessageBoxes {
public:
    MsgAnswer show(QWidget *parent, const QString &text, const QString &title, int style) override;
    std::vector<ShownMessage> shown;
    std::deque<MsgAnswer> answers;
};

class FakeInputBox final : public InputBox {
public:
    QString ask(QWidget *parent, const QString &prompt, const QString &title, const QString &defaultAnswer) override;
    struct Asked {
        QString prompt, title, defaultAnswer;
    };
    std::vector<Asked> asked;
    std::deque<QString> answers;  // "" (a cancel) when the script has run out
};

// Records each dialog request and answers the next scripted choice; nothing
// in the script (or std::nullopt) is a cancel.
class FakeFileDialogs final : public FileDialogs {
public:
    std::optional<QString> run(QWidget *parent, FileDialogKind kind, const FileDialogRequest &request) override;
    struct Use {
        FileDialogKind kind;
        FileDialogRequest request;
    };
    std::vector<Use> uses;
    std::deque<std::optional<QString>> answers;
};

class FakeLauncher final : public Launcher {
public:
    LaunchResult openDocument(const QString &path) override;
    LaunchResult startProgram(const QString &path) override;
    QStringList documents;
    QStringList programs;
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
    bool fileExists(const QString &path) override;
    QString resolve(const QString &path) override;

private:
    std::unique_ptr<FileSystem> m_real;
};

class FakePictures final : public PictureLoader {
public:
    QImage load(const QString &path, const QSize &shownSize) override;
    // Loads at once, unless `deferred`: then the pictures asked for arrive
    // when the test calls finishBackgroundLoads(), in the order asked for.
    void loadInBackground(const QString &path, const QSize &shownSize, QObject *receiver,
                          std::function<void(const QImage &)> done) override;
    void finishBackgroundLoads();
    QStringList loaded;  // every path asked for
    bool deferred = false;

private:
    struct PendingLoad {
        QPointer<QObject> receiver;
        QImage picture;
        std::function<void(const QImage &)> done;
    };
    std::vector<PendingLoad> m_pending;
};

// One of each, handed to the main window as a Platform.
struct FakePlatform {
    FakeMessages messages;
    FakeInputBox input;
    FakeFileDialogs dialogs;
    FakeLauncher launcher;
    FakeMediaControl media;
    FakeSystemInfo system;
    RealFiles files;
    FakePictures pictures;

    Platform platform()
    {
        return Platform{messages, input, dialogs, launcher, media, system, files, pictures};
    }
};

}  // namespace vidorun::testing
