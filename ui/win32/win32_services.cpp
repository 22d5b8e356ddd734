#include "ui/win32/win32_services.h"

#include "platform/windows_services.h"
#include "platform/windows_text.h"
#include "ui/win32/win32_front_end.h"



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

PictureHandle Win32PictureLoader::load(const std::string &path, int width, int height)
{
    return loadPicture(path, width, height);
}

// Where a picture decoded in the background goes: the front end, while the
// loader lives.
struct Win32PictureLoader::Receiver {
    SRWLOCK lock = SRWLOCK_INIT;
    Win32FrontEnd *frontEnd = nullptr;
};

namespace {

// A picture to decode on a thread of its own, and where it goes.
struct Decoding {
    std::string path;
    int width, height;
    std::function<void(PictureHandle)> done;
    std::shared_ptr<Win32PictureLoader::Receiver> receiver;
};

DWORD WINAPI decodeInBackground(void *parameter)
{
    const std::unique_ptr<Decoding> decoding(static_cast<Decoding *>(parameter));
    PictureHandle picture = loadPicture(decoding->path, decoding->width, decoding->height);
    AcquireSRWLockExclusive(&decoding->receiver->lock);
    if (decoding->receiver->frontEnd) {
        decoding->receiver->frontEnd->post(
            [done = std::move(decoding->done), picture = std::move(picture)] { done(picture); });
    }
    ReleaseSRWLockExclusive(&decoding->receiver->lock);
    return 0;
}

}  // namespace

Win32PictureLoader::Win32PictureLoader(Win32FrontEnd &frontEnd)
    : m_receiver(std::make_shared<Receiver>())
{
    m_receiver->frontEnd = &frontEnd;
}

Win32PictureLoader::~Win32PictureLoader()
{
    AcquireSRWLockExclusive(&m_receiver->lock);
    m_receiver->frontEnd = nullptr;
    ReleaseSRWLockExclusive(&m_receiver->lock);
}

void Win32PictureLoader::loadInBackground(const std::string &path, int width, int height,
                                          std::function<void(PictureHandle)> done)
{
    auto decoding = std::make_unique<Decoding>(Decoding{path, width, height, std::move(done), m_receiver});
    // Suspended until its priority is lowered: the window comes first.
    HANDLE thread = CreateThread(nullptr, 0, decodeInBackground, decoding.get(), CREATE_SUSPENDED, nullptr);
    if (!thread) {
        // No thread to spare: decoded now, handed back all the same.
        decoding->done(loadPicture(path, width, height));
        return;
    }
    decoding.release();
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread);
    CloseHandle(thread);
}

}  // namespace vidorun::ui::win32
