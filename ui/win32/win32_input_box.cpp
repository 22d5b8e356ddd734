// The modal input box (InputBoxWindow, realised like any window) and the
// system's message box.
#include "ui/descriptions.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window.h"

namespace vidorun::ui::win32 {

namespace {

// What the box's buttons say, and when it is done.
class InputBoxAnswer final : public WindowEvents {
public:
    WindowView *box = nullptr;
    std::string text;
    bool done = false;

    void command(std::string_view name) override
    {
        if (name == "OKButton")
            text = box->text("Answer");
        if (name == "OKButton" || name == "CancelButton")
            done = true;
    }
    void closed() override { done = true; }  // the close box: as Cancel
};

}  // namespace

std::string Win32FrontEnd::askText(WindowView *owner, std::string_view prompt, std::string_view title,
                                   std::string_view defaultAnswer)
{
    InputBoxAnswer answer;
    const std::unique_ptr<WindowView> box = realise(InputBoxWindow, answer);
    answer.box = box.get();
    HWND boxWindow = windowHandle(*box);
    if (!boxWindow)
        return {};
    HWND ownerWindow = owner ? windowHandle(*owner) : nullptr;
    if (ownerWindow)  // stays above the window it asks for
        SetWindowLongPtrW(boxWindow, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
    box->setCaption(title);
    box->setText("Prompt", prompt);
    box->setText("Answer", defaultAnswer);
    SendMessageW(controlHandle(*box, "Answer"), EM_SETSEL, 0, -1);  // typing replaces the default

    const bool disableOwner = ownerWindow && IsWindowEnabled(ownerWindow);
    if (disableOwner)
        EnableWindow(ownerWindow, FALSE);
    box->show();
    MSG message{};
    while (!answer.done) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)  // the program is ending: the loop outside hears it too
                PostQuitMessage(int(message.wParam));
            break;
        }
        dispatchMessage(message);
    }
    // The owner is enabled before the box leaves, so that Windows makes it
    // the active window again; its focus goes back where it was.
    if (disableOwner)
        EnableWindow(ownerWindow, TRUE);
    box->close();
    if (owner && ownerWindow)
        owner->activate();
    return answer.text;
}

MessageAnswer messageBox(const WindowView *owner, std::string_view text, std::string_view title, unsigned style)
{
    HWND ownerWindow = owner ? windowHandle(*owner) : nullptr;
    // Without an owner, every window of the program waits for the answer.
    const int answer = MessageBoxW(ownerWindow, toWide(text).c_str(), toWide(title).c_str(),
                                   style | (ownerWindow ? 0u : unsigned(MB_TASKMODAL)));
    switch (answer) {
    case IDYES:
        return MessageAnswer::Yes;
    case IDNO:
        return MessageAnswer::No;
    case IDCANCEL:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

}  // namespace vidorun::ui::win32
