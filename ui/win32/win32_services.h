#pragma once

// The services of the windows on Windows, for the program's Platform: the
// system's message box, the input box, the common Open and Save dialogs and
// the cover's picture loading, each over the window that asks.
#include "platform/file_dialog.h"
#include "platform/input_box.h"
#include "platform/message_box.h"
#include "platform/picture_loader.h"

#include <memory>

namespace vidorun::ui::win32 {

class Win32FrontEnd;

class Win32MessageBoxes final : public MessageBoxes {
public:
    MsgAnswer show(const WindowView *parent, const std::string &text, const std::string &title, int style) override;
};

class Win32InputBox final : public InputBox {
public:
    explicit Win32InputBox(Win32FrontEnd &frontEnd) : m_frontEnd(frontEnd) {}
    std::string ask(const WindowView *parent, const std::string &prompt, const std::string &title,
                    const std::string &defaultAnswer) override;

private:
    Win32FrontEnd &m_frontEnd;
};

class Win32FileDialogs final : public FileDialogs {
public:
    std::optional<std::string> run(const WindowView *parent, FileDialogKind kind,
                                   const FileDialogRequest &request) override;
};

// Decodes the picture with the system's own picture loading; in the
// background on a thread of its own, the picture handed back through the
// front end's post().
class Win32PictureLoader final : public PictureLoader {
public:
    explicit Win32PictureLoader(Win32FrontEnd &frontEnd);
    // A picture still being decoded then is dropped.
    ~Win32PictureLoader() override;
    PictureHandle load(const std::string &path, int width, int height) override;
    void loadInBackground(const std::string &path, int width, int height,
                          std::function<void(PictureHandle)> done) override;

    struct Receiver;

private:
    std::shared_ptr<Receiver> m_receiver;
};

}  // namespace vidorun::ui::win32
