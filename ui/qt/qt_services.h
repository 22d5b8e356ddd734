#pragma once

// The services of the windows on Linux, for the program's Platform: Qt's
// message box, the input box, Qt's Open and Save dialogs (which hand over to
// the desktop's own where it has one) and the cover's picture loading, each
// over the window that asks.
#include "platform/platform.h"
#include "ui/qt/qt_front_end.h"
#include "ui/qt/qt_pictures.h"

#include <memory>

namespace vidorun::ui::qt {

class QtMessageBoxes final : public MessageBoxes {
public:
    MsgAnswer show(const WindowView *parent, const std::string &text, const std::string &title, int style) override;
};

class QtInputBox final : public InputBox {
public:
    explicit QtInputBox(QtFrontEnd &frontEnd) : m_frontEnd(frontEnd) {}
    std::string ask(const WindowView *parent, const std::string &prompt, const std::string &title,
                    const std::string &defaultAnswer) override;

private:
    QtFrontEnd &m_frontEnd;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> run(const WindowView *parent, FileDialogKind kind,
                                   const FileDialogRequest &request) override;
};

// Decodes at the size shown, with the program's limits; in the background
// on a thread of its own, and while the main window is not shown yet, once
// it has painted its first frame: decoding alongside would slow the frame
// down more than it speeds up the picture.
class QtPictureService final : public PictureLoader {
public:
    explicit QtPictureService(QtFrontEnd &frontEnd) : m_frontEnd(frontEnd), m_loader(frontEnd) {}
    PictureHandle load(const std::string &path, int width, int height) override;
    void loadInBackground(const std::string &path, int width, int height,
                          std::function<void(PictureHandle)> done) override;

private:
    QtFrontEnd &m_frontEnd;
    QtPictureLoader m_loader;
};

// Every service the program runs with on Linux.
class QtPlatform {
public:
    explicit QtPlatform(QtFrontEnd &frontEnd);
    ~QtPlatform();
    Platform platform();

private:
    QtMessageBoxes m_messages;
    QtInputBox m_input;
    QtFileDialogs m_dialogs;
    QtPictureService m_pictures;
    std::unique_ptr<Launcher> m_launcher;
    std::unique_ptr<MediaControl> m_media;
    std::unique_ptr<SystemInfo> m_system;
    std::unique_ptr<FileSystem> m_files;
};

}  // namespace vidorun::ui::qt
