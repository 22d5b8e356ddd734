// Opening and closing the child windows. While one is open the main window is
// disabled; however the child closes, the main window comes back enabled,
// with the focus where it was, and applies what the child handed back.
#include "app/vidorun_main.h"

#include "windows/child_window.h"

#include <QComboBox>

namespace vidorun {

void VidorunMain::openChildWindow(ChildWindow *child)
{
    m_openChild = child;
    m_focusBeforeChild = focusWidget();
    connect(child, &ChildWindow::closing, this, &VidorunMain::childClosed);
    setEnabled(false);
    child->show();
    // Without a window manager a child that is only shown never becomes
    // active; ask for it, so keys reach it at once.
    child->raise();
    child->activateWindow();
}

void VidorunMain::childClosed()
{
    m_openChild = nullptr;
    setEnabled(true);
    activateWindow();
    QWidget *focus = m_focusBeforeChild ? m_focusBeforeChild.data() : static_cast<QWidget *>(Movies);
    focus->setFocus(Qt::ActiveWindowFocusReason);
    m_focusBeforeChild = nullptr;
    // The hand-back must not wait for the window manager's activation event,
    // which never comes on some desktops; Form_Activate is safe to run twice.
    Form_Activate();
}

}  // namespace vidorun
