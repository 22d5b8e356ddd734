#include "windows/child_window.h"

#include <QCloseEvent>

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
    // disabled.
    if (!m_closing) {
        m_closing = true;
        Q_EMIT closing();
    }
}

void ChildWindow::closeEvent(QCloseEvent *event)
{
    // Not QDialog's own closeEvent: it would route through reject() and could
    // cancel the close. A child window always closes when asked.
    event->accept();
    if (!m_closing) {
        m_closing = true;
        Q_EMIT closing();
    }
}

}  // namespace vidorun
