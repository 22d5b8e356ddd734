#pragma once

// The Qt front end: every window of the program realised with Qt widgets,
// as the program's windows have always looked on Linux. Needs a
// QApplication; the built-in pictures come from the program's resources
// (:/vidorun/vidorun.png, :/vidorun/codeclogo.jpg, resources/CMakeLists.txt).
//
// A view owns its top-level widget (a QMainWindow for the main window, a
// QDialog for the others, without a parent). close() takes the window off
// the screen and tells closed() before it returns; the widget is deleted
// once the event that closed it is over (deleteLater). Destroying a view
// takes its window off the screen without telling closed().
#include "platform/message_box.h"
#include "ui/window_view.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <QPointer>
#include <QWidget>

namespace vidorun::ui::qt {

class QtWindow;

class QtFrontEnd final : public FrontEnd {
public:
    std::unique_ptr<WindowView> realise(const Window &description, WindowEvents &events) override;
    // Queued on the application object: runs on the windows' thread in the
    // order posted, also inside a modal loop (an input box, a message box).
    void post(std::function<void()> work) override;

    // The input box (InputBoxWindow) over `owner` (or none), modal: the
    // typed text on OK or Enter; "" on Cancel, Esc or the close box. The
    // owner is disabled while it is up, then enabled and activated again.
    std::string askText(WindowView *owner, std::string_view prompt, std::string_view title,
                        std::string_view defaultAnswer);

    // The program's main window, while it is there.
    const WindowView *mainWindow() const;

private:
    // Null once the view is destroyed, its widget perhaps not yet.
    QPointer<QtWindow> m_main;
};

// A modal message box over `owner` (or none), as the program has always
// shown them: MsgStyle::Critical (16), a stop sign and OK; MsgStyle::Question
// (36), a question mark, Yes (the default) and No. Texts are UTF-8; CR LF
// in `text` starts a new line; never rich text.
MsgAnswer messageBox(const WindowView *owner, std::string_view text, std::string_view title, int style);

// The top-level widget of a view this front end realised, and one of its
// controls by name: for the program's own Qt code (an owner for a file
// dialog) and for tests. Null for a window gone or a view of another kind.
QWidget *windowWidget(const WindowView &view);
QWidget *controlWidget(const WindowView &view, std::string_view control);

}  // namespace vidorun::ui::qt
