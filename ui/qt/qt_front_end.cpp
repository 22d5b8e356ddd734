#include "ui/qt/qt_front_end.h"

#include "ui/qt/qt_message_box.h"
#include "ui/descriptions.h"
#include "ui/qt/qt_window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace vidorun::ui::qt {

std::unique_ptr<WindowView> QtFrontEnd::realise(const Window &description, WindowEvents &events)
{
    auto view = std::make_unique<QtWindow>(description, events);
    if (description.main)
        m_main = view.get();
    return view;
}

const WindowView *QtFrontEnd::mainWindow() const
{
    return m_main.data();
}

void QtFrontEnd::post(std::function<void()> work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

namespace {

// OK hands the typed text back; OK, Cancel, Esc and the close box all end
// the box's loop.
class InputBoxEvents final : public WindowEvents {
public:
    void command(std::string_view name) override
    {
        if (name == "OKButton") {
            answer = view->text("Answer");
            accepted = true;
        } else if (name != "CancelButton") {
            return;
        }
        view->close();
    }

    void closed() override { loop.quit(); }

    WindowView *view = nullptr;
    QEventLoop loop;
    std::string answer;
    bool accepted = false;
};

}  // namespace

std::string QtFrontEnd::askText(WindowView *owner, std::string_view prompt, std::string_view title,
                                std::string_view defaultAnswer)
{
    InputBoxEvents events;
    auto box = std::make_unique<QtWindow>(InputBoxWindow, events);
    events.view = box.get();
    box->setCaption(title);
    box->setText("Prompt", prompt);
    box->setText("Answer", defaultAnswer);
    // The proposed answer is selected: typing replaces it.
    if (auto *answer = qobject_cast<QLineEdit *>(box->control("Answer")))
        answer->selectAll();

    QWidget *boxWindow = box->widget();
    // As QInputDialog was: nothing else of the program takes input meanwhile.
    boxWindow->setWindowModality(Qt::ApplicationModal);
    QPointer<QtWindow> ownerWindow = dynamic_cast<QtWindow *>(owner);
    bool ownerWasEnabled = false;
    if (ownerWindow && ownerWindow->widget()) {
        QWidget *over = ownerWindow->widget();
        boxWindow->move(over->frameGeometry().center() - boxWindow->rect().center());
        ownerWasEnabled = ownerWindow->isWindowEnabled();
        ownerWindow->setWindowEnabled(false);
    }

    box->show();
    events.loop.exec(QEventLoop::DialogExec);
    box.reset();

    if (ownerWindow && ownerWasEnabled) {
        ownerWindow->setWindowEnabled(true);
        ownerWindow->activate();
    }
    return events.accepted ? events.answer : std::string();
}

MsgAnswer messageBox(const WindowView *owner, std::string_view text, std::string_view title, int style)
{
    return showQtMessageBox(owner ? windowWidget(*owner) : nullptr, toQString(text), toQString(title), style);
}

QWidget *windowWidget(const WindowView &view)
{
    const auto *window = dynamic_cast<const QtWindow *>(&view);
    return window ? window->widget() : nullptr;
}

QWidget *controlWidget(const WindowView &view, std::string_view control)
{
    const auto *window = dynamic_cast<const QtWindow *>(&view);
    return window ? window->control(control) : nullptr;
}

}  // namespace vidorun::ui::qt
