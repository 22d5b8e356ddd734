#include "ui/qt/qt_window.h"

#include "ui/qt/qt_pictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QHideEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include <utility>

namespace vidorun::ui::qt {

namespace {

// The top-level widget: tells its view what happens to it.
template <class Base>
class Frame final : public Base {
public:
    template <class... Args>
    explicit Frame(QtWindow &view, Args &&...args) : Base(std::forward<Args>(args)...), m_view(&view)
    {
    }

protected:
    void changeEvent(QEvent *event) override
    {
        Base::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && this->isActiveWindow() && m_view)
            m_view->windowActivated();
    }

    void closeEvent(QCloseEvent *event) override
    {
        // Not QDialog's own closeEvent: it would route through reject().
        if (m_view)
            m_view->windowCloseAsked(event);
        else
            event->accept();
    }

    void hideEvent(QHideEvent *event) override
    {
        Base::hideEvent(event);
        // Minimising hides a window too, spontaneously; closing does not.
        if (!event->spontaneous() && m_view)
            m_view->windowHidden();
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (m_view && m_view->windowKey(event))
            return;
        Base::keyPressEvent(event);
    }

private:
    QPointer<QtWindow> m_view;
};

// The main window: a fixed border; it can be minimised and closed, never
// resized.
constexpr Qt::WindowFlags MainWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                            | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                                            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// A child window has no owner; a tool window has no taskbar entry. The
// system menu hint keeps the close box on Windows, where a tool window
// without it has none.
constexpr Qt::WindowFlags ChildWindowFlags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                             | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                             | Qt::MSWindowsFixedSizeDialogHint;

}  // namespace

QtWindow::QtWindow(const Window &description, WindowEvents &events)
    : m_description(description), m_events(events), m_caption(toQString(description.caption))
{
    QWidget *controlsParent = nullptr;
    QMainWindow *mainWindow = nullptr;
    if (description.main) {
        mainWindow = new Frame<QMainWindow>(*this);
        m_window = mainWindow;
        mainWindow->setObjectName(toQString(description.name));
        setCaptionAsWritten(mainWindow, m_caption);
        mainWindow->setFont(toQFont(description.font));
        mainWindow->setWindowFlags(MainWindowFlags);
        // The client area below the menu bar keeps its designed size.
        auto *client = new QWidget(mainWindow);
        client->setObjectName(QStringLiteral("client"));
        client->setFixedSize(description.clientWidth, description.clientHeight);
        mainWindow->setCentralWidget(client);
        mainWindow->layout()->setSizeConstraint(QLayout::SetFixedSize);
        controlsParent = client;
    } else {
        auto *dialog = new Frame<QDialog>(*this, nullptr, ChildWindowFlags);
        m_window = dialog;
        dialog->setFixedSize(description.clientWidth, description.clientHeight);
        dialog->setSizeGripEnabled(false);
        dialog->setObjectName(toQString(description.name));
        setCaptionAsWritten(dialog, m_caption);
        dialog->setFont(toQFont(description.font));
        controlsParent = dialog;
    }
    // Deleted once closed, when the event that closed it is over.
    m_window->setAttribute(Qt::WA_DeleteOnClose);

    m_controls = buildControls(controlsParent, description);
    for (const BuiltControl &b : m_controls) {
        if (auto *button = qobject_cast<QPushButton *>(b.widget)) {
            const std::string_view name = b.control->name;
            connect(button, &QPushButton::clicked, this, [this, name] { m_events.command(name); });
        }
    }
    if (mainWindow) {
        for (const MenuCommand &item : buildMenuBar(mainWindow->menuBar(), description.menu)) {
            const std::string_view name = item.name;
            connect(item.action, &QAction::triggered, this, [this, name] { m_events.command(name); });
        }
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (QWidget *c = controlOf(now))
            m_lastFocus = c;
    });

    showBuiltInPictures(m_controls);
    if (mainWindow)
        mainWindow->setWindowIcon(QIcon(QStringLiteral(":/vidorun/vidorun.png")));
}

QtWindow::~QtWindow()
{
    // Whatever the widget still hears is no longer told.
    m_closing = true;
    m_closedTold = true;
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
    }
}

// --- the controls ------------------------------------------------------------

const BuiltControl *QtWindow::find(std::string_view name) const
{
    if (!m_window)
        return nullptr;
    for (const BuiltControl &b : m_controls) {
        if (b.control->name == name)
            return &b;
    }
    return nullptr;
}

QWidget *QtWindow::control(std::string_view name) const
{
    const BuiltControl *b = find(name);
    return b ? b->widget : nullptr;
}

QPushButton *QtWindow::button(std::string_view name) const
{
    return name.empty() ? nullptr : qobject_cast<QPushButton *>(control(name));
}

QWidget *QtWindow::controlOf(QWidget *widget) const
{
    if (!m_window)
        return nullptr;
    for (QWidget *w = widget; w && w != m_window; w = w->parentWidget()) {
        for (const BuiltControl &b : m_controls) {
            if (b.widget == w)
                return w;
        }
    }
    return nullptr;
}

bool QtWindow::usable(QWidget *control) const
{
    return control && m_window && control->isEnabled() && control->isVisibleTo(m_window);
}

void QtWindow::setCaption(std::string_view text)
{
    m_caption = toQString(text);
    if (m_window)
        setCaptionAsWritten(m_window, m_caption);
}

std::string QtWindow::caption() const
{
    return toUtf8(m_caption);
}

void QtWindow::setText(std::string_view control, std::string_view text)
{
    const BuiltControl *b = find(control);
    if (!b)
        return;
    const QString t = toQString(text);
    if (auto *label = qobject_cast<QLabel *>(b->widget)) {
        label->setText(t);
        if (b->control->growsWithText)
            fitToText(label, *b->control);
    } else if (auto *button = qobject_cast<QPushButton *>(b->widget)) {
        button->setText(t);
    } else if (auto *box = qobject_cast<QLineEdit *>(b->widget)) {
        box->setText(t);
    }
}

std::string QtWindow::text(std::string_view control) const
{
    const BuiltControl *b = find(control);
    if (!b)
        return {};
    if (auto *label = qobject_cast<QLabel *>(b->widget))
        return toUtf8(label->text());
    if (auto *button = qobject_cast<QPushButton *>(b->widget))
        return toUtf8(button->text());
    if (auto *box = qobject_cast<QLineEdit *>(b->widget))
        return toUtf8(box->text());
    if (auto *list = qobject_cast<QComboBox *>(b->widget))
        return toUtf8(list->currentText());
    return {};
}

void QtWindow::setEnabled(std::string_view control, bool enabled)
{
    if (QWidget *w = this->control(control))
        w->setEnabled(enabled);
}

bool QtWindow::isEnabled(std::string_view control) const
{
    // The control's own state, whether or not its window is enabled.
    QWidget *w = this->control(control);
    return w && w->isEnabledTo(m_window);
}

void QtWindow::setVisible(std::string_view control, bool visible)
{
    if (QWidget *w = this->control(control))
        w->setVisible(visible);
}

bool QtWindow::isVisible(std::string_view control) const
{
    // The control's own state, whether or not its window is shown.
    QWidget *w = this->control(control);
    return w && !w->isHidden();
}

void QtWindow::clearItems(std::string_view control)
{
    QWidget *w = this->control(control);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->clear();
    else if (auto *list = qobject_cast<QListWidget *>(w))
        list->clear();
}

void QtWindow::addItem(std::string_view control, std::string_view text)
{
    QWidget *w = this->control(control);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        combo->addItem(toQString(text));
    else if (auto *list = qobject_cast<QListWidget *>(w))
        list->addItem(toQString(text));
}

int QtWindow::itemCount(std::string_view control) const
{
    QWidget *w = this->control(control);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->count();
    if (auto *list = qobject_cast<QListWidget *>(w))
        return list->count();
    return 0;
}

std::string QtWindow::itemText(std::string_view control, int index) const
{
    QWidget *w = this->control(control);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return toUtf8(combo->itemText(index));
    if (auto *list = qobject_cast<QListWidget *>(w)) {
        const QListWidgetItem *item = list->item(index);
        return item ? toUtf8(item->text()) : std::string();
    }
    return {};
}

int QtWindow::currentIndex(std::string_view control) const
{
    QWidget *w = this->control(control);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentIndex();
    if (auto *list = qobject_cast<QListWidget *>(w)) {
        // The line selected, not merely the one with the focus rectangle.
        const QList<QListWidgetItem *> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->row(selected.constFirst());
    }
    return -1;
}

void QtWindow::setCurrentIndex(std::string_view control, int index)
{
    QWidget *w = this->control(control);
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    } else if (auto *list = qobject_cast<QListWidget *>(w)) {
        if (index >= 0 && index < list->count()) {
            list->setCurrentRow(index);
        } else {
            list->clearSelection();
            list->setCurrentRow(-1);
        }
    }
}

void QtWindow::setPicture(std::string_view control, std::shared_ptr<const Picture> picture)
{
    const BuiltControl *b = find(control);
    if (!b || b->control->kind != ControlKind::Picture)
        return;
    auto *frame = static_cast<QLabel *>(b->widget);
    const auto *shown = dynamic_cast<const QtPicture *>(picture.get());
    if (shown && !shown->image().isNull())
        frame->setPixmap(QPixmap::fromImage(shown->image()));
    else
        frame->clear();
}

void QtWindow::setFocus(std::string_view control)
{
    QWidget *w = this->control(control);
    if (!w)
        return;
    // Also where a hidden or inactive window's focus is once it is active.
    m_lastFocus = w;
    w->setFocus(Qt::OtherFocusReason);
}

std::string QtWindow::focused() const
{
    if (!m_window || !m_window->isActiveWindow())
        return {};
    QWidget *focus = controlOf(QApplication::focusWidget());
    for (const BuiltControl &b : m_controls) {
        if (focus && b.widget == focus)
            return std::string(b.control->name);
    }
    return {};
}

// --- the window --------------------------------------------------------------

void QtWindow::setWindowEnabled(bool enabled)
{
    if (!m_window)
        return;
    // Disabling takes the focus away; activate() gives it back.
    if (!enabled) {
        if (QWidget *c = controlOf(m_window->focusWidget()))
            m_lastFocus = c;
    }
    m_window->setEnabled(enabled);
}

bool QtWindow::isWindowEnabled() const
{
    return m_window && m_window->isEnabled();
}

void QtWindow::show()
{
    if (!m_window || m_closing)
        return;
    // The main window opens in the middle of the screen the program was
    // started on; the child windows as Qt places dialogs without an owner.
    if (m_description.main && !m_window->isVisible()) {
        m_window->adjustSize();
        if (const QScreen *screen = m_window->screen())
            m_window->move(screen->availableGeometry().center() - m_window->rect().center());
    }
    m_window->show();
    // Without a window manager a window that is only shown never becomes
    // active; ask for it, so that keys reach it at once.
    m_window->raise();
    m_window->activateWindow();
}

void QtWindow::activate()
{
    if (!m_window || m_closing)
        return;
    if (m_window->isMinimized())
        m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
    restoreFocus();
}

void QtWindow::restoreFocus()
{
    QWidget *target = m_lastFocus;
    if (!usable(target))
        target = control(m_description.firstFocus);
    if (usable(target))
        target->setFocus(Qt::ActiveWindowFocusReason);
}

void QtWindow::close()
{
    if (!m_window || m_closing)
        return;
    m_closing = true;
    // closeEvent, then hideEvent, which tells closed(); then deleteLater.
    m_window->close();
}

void QtWindow::windowActivated()
{
    if (m_closing)
        return;
    // Disabling the window took the focus away: it comes back to the
    // control that had it.
    if (!usable(m_window->focusWidget()))
        restoreFocus();
    m_events.activated();
}

void QtWindow::windowCloseAsked(QCloseEvent *event)
{
    if (!m_closing) {
        // The user asks: the close box, Alt+F4.
        if (!m_events.mayClose()) {
            event->ignore();
            return;
        }
        m_closing = true;
    }
    event->accept();
    // A window never shown is not hidden: it is off the screen already.
    if (!m_window->isVisible())
        tellClosed();
}

void QtWindow::windowHidden()
{
    // Off the screen now: only then are the handlers told.
    if (m_closing)
        tellClosed();
}

void QtWindow::tellClosed()
{
    if (m_closedTold)
        return;
    m_closedTold = true;
    // Last: the handlers may let the view go from here on.
    m_events.closed();
}

bool QtWindow::windowKey(QKeyEvent *event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape)
        return false;
    // A focused button that takes Enter itself (the default button) has
    // pressed itself already; what comes here is the window's.
    QPushButton *pressed = nullptr;
    if (!enter) {
        pressed = button(m_description.cancelButton);
    } else if (m_description.enter == EnterKey::PressesDefault) {
        pressed = button(m_description.defaultButton);
    } else if (m_description.enter == EnterKey::PressesFocusedButton) {
        pressed = qobject_cast<QPushButton *>(controlOf(m_window->focusWidget()));
    }
    if (pressed && pressed->isEnabled() && !pressed->isHidden())
        pressed->click();
    return true;
}

}  // namespace vidorun::ui::qt
