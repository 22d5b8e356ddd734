#include "windows/child_window.h"

#include <QCloseEvent>
#include <QHideEvent>

namespace vidorun {

ChildWindow::ChildWindow(VidorunMain &main, int clientWidth, int clientHeight)
    // No owner; a tool window has no taskbar entry. The system menu hint
    // keeps the close box on Windows, where a tool window without it has none.
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_main(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(clientWidth, clientHeight);
    setSizeGripEnabled(false);
}

ChildWindow::~ChildWindow()
{
    // A child window deleted without closing must not leave the main window
    // disabled; it leaves the screen first, as a closing one does.
    if (!m_closing) {
        hide();
        tellClosing();
    }
}

void ChildWindow::closeEvent(QCloseEvent *event)
{
    // Not QDialog's own closeEvent: it would route through reject() and could
    // cancel the close. A child window always closes when asked.
    event->accept();
    m_closeAccepted = true;
    // A window that was never shown is not hidden: tell the main window now.
    if (!isVisible())
        tellClosing();
}

void ChildWindow::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // The window is off the screen now: only then is the main window enabled,
    // focused and handed back to.
    if (m_closeAccepted && !event->spontaneous())
        tellClosing();
}

void ChildWindow::tellClosing()
{
    if (m_closing)
        return;
    m_closing = true;
    Q_EMIT closing();
}

}  // namespace vidorun
