#pragma once

// A child window of the main window: realised afresh from its description
// for each opening, and discarded when it closes. However it closes (its
// button, its close box, Alt+F4, Esc), it tells the main window, which
// enables itself again and applies what was handed back.
#include "ui/window_view.h"

#include <memory>
#include <string_view>

namespace vidorun {

class VidorunMain;

class ChildWindow : public ui::WindowEvents {
public:
    ChildWindow(VidorunMain &main, const ui::Window &description);
    ~ChildWindow() override;
    ChildWindow(const ChildWindow &) = delete;
    ChildWindow &operator=(const ChildWindow &) = delete;

    ui::WindowView &view() { return *m_view; }
    const ui::Window &description() const { return m_description; }

    // Every close button runs this: unload the child window; the main window
    // is then enabled and focused.
    void unload() { m_view->close(); }

    void closed() override;

protected:
    VidorunMain &m_main;

private:
    const ui::Window &m_description;
    std::unique_ptr<ui::WindowView> m_view;
    bool m_closed = false;
};

}  // namespace vidorun
