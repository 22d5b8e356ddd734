#include "ui/win32/win32_services.h"

#include "platform/windows_services.h"
#include "platform/windows_text.h"
#include "ui/win32/win32_front_end.h"

#include <mutex>
#include <thread>

namespace vidorun::ui::win32 {

MsgAnswer Win32MessageBoxes::show(const WindowView *parent, const std::string &text, const std::string &title,
                                  int style)
{
    switch (messageBox(parent, text, title, unsigned(style))) {
    case MessageAnswer::Yes:
        return MsgAnswer::Yes;
    case MessageAnswer::No:
    case MessageAnswer::Cancel:
        return style == MsgStyle::Question ? MsgAnswer::No : MsgAnswer::Ok;
    case MessageAnswer::Ok:
        break;
    }
    return MsgAnswer::Ok;
}

std::string Win32InputBox::ask(const WindowView *parent, const std::string &prompt, const std::string &title,
                               const std::string &defaultAnswer)
{
    return m_frontEnd.askText(const_cast<WindowView *>(parent), prompt, title, defaultAnswer);
}

std::optional<std::string> Win32FileDialogs::run(const WindowView *parent, FileDialogKind kind,
                                                 const FileDialogRequest &request)
{
    vidorun::win32::FileDialogOptions options;
    options.save = kind == FileDialogKind::Save;
    options.title = wide(request.title);
    options.filter = wide(request.filter);
    options.filterIndex = request.filterIndex;
    options.flags = static_cast<unsigned long>(request.flags);
    std::wstring name = wide(request.fileName);
    for (wchar_t &c : name)
        c = c == L'/' ? L'\\' : c;
    options.fileName = name;
    void *owner = parent ? windowHandle(*parent) : nullptr;
    const std::optional<std::wstring> chosen = vidorun::win32::runFileDialog(owner, options);
    if (!chosen)
        return std::nullopt;
    return narrow(*chosen);
}

// The system decodes the whole picture; the frame scales it as it paints.
PictureHandle Win32PictureLoader::load(const std::string &path, int, int)
{
    return loadPicture(path);
}

// Where a picture decoded in the background goes: the front end, while the
// loader lives.
struct Win32PictureLoader::Receiver {
    std::mutex lock;
    Win32FrontEnd *frontEnd;
};

Win32PictureLoader::Win32PictureLoader(Win32FrontEnd &frontEnd)
    : m_receiver(std::make_shared<Receiver>())
{
    m_receiver->frontEnd = &frontEnd;
}

Win32PictureLoader::~Win32PictureLoader()
{
    const std::lock_guard<std::mutex> held(m_receiver->lock);
    m_receiver->frontEnd = nullptr;
}

void Win32PictureLoader::loadInBackground(const std::string &path, int, int, std::function<void(PictureHandle)> done)
{
    std::thread([path, done = std::move(done), receiver = m_receiver]() mutable {
        // A low priority: the window comes first.
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
        PictureHandle picture = loadPicture(path);
        const std::lock_guard<std::mutex> held(receiver->lock);
        if (receiver->frontEnd)
            receiver->frontEnd->post([done = std::move(done), picture = std::move(picture)] { done(picture); });
    }).detach();
}

}  // namespace vidorun::ui::win32
