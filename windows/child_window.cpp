#include "windows/child_window.h"

#include <QCloseEvent>

namespace vidorun {

ChildWindow::ChildWindow(VidorunMain &main, int clientWidth, int clientHeight)
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_main(main)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(clientWidth, clientHeight);
    setSizeGripEnabled(false);
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
