#include "windows/child_window.h"

#include "app/vidorun_main.h"

namespace vidorun {

ChildWindow::ChildWindow(VidorunMain &main, const ui::Window &description)
    : m_main(main), m_description(description), m_view(main.frontEnd().realise(description, *this))
{
}

ChildWindow::~ChildWindow() = default;

void ChildWindow::closed()
{
    if (m_closed)
        return;
    m_closed = true;
    m_main.childClosed(*this);
}

}  // namespace vidorun
