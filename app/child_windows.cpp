// Opening and closing the child windows. While one is open the main window is
// disabled; however the child closes, the main window comes back enabled,
// with the focus where it was, and applies what the child handed back.
#include "app/vidorun_main.h"

#include "windows/child_window.h"

namespace vidorun {

void VidorunMain::openChildWindow(std::unique_ptr<ChildWindow> child)
{
    m_focusBeforeChild = m_view->focused();
    m_openChild = std::move(child);
    m_view->setWindowEnabled(false);
    m_openChild->view().show();
    // Without a window manager a child that is only shown never becomes
    // active; ask for it, so that keys reach it at once.
    m_openChild->view().activate();
}

void VidorunMain::childClosed(ChildWindow &child)
{
    if (m_openChild.get() != &child)
        return;
    // The child is inside its own handler now: it goes once that is over.
    m_closedChild = std::move(m_openChild);
    m_frontEnd.post([this, alive = std::weak_ptr<bool>(m_alive)] {
        if (!alive.expired())
            m_closedChild.reset();
    });
    m_view->setWindowEnabled(true);
    m_view->activate();
    m_view->setFocus(m_focusBeforeChild.empty() ? std::string_view("Movies") : std::string_view(m_focusBeforeChild));
    m_focusBeforeChild.clear();
    // The hand-back must not wait for the window manager's activation event,
    // which never comes on some desktops; Form_Activate is safe to run twice.
    Form_Activate();
}

}  // namespace vidorun
