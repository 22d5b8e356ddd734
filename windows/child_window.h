#pragma once

#include <QDialog>

namespace vidorun {

class VidorunMain;

// A child window of the main window: created afresh for each opening, fixed
// in size, without minimise and maximise boxes or a taskbar entry, and
// discarded when it closes. However it closes (its button, its close box,
// Alt+F4, Esc), it tells the main window, which enables itself again.
class ChildWindow : public QDialog {
    Q_OBJECT

public:
    ChildWindow(VidorunMain &main, int clientWidth, int clientHeight);
    ~ChildWindow() override;

    // Every close button runs this: unload the child window; the main window
    // is then enabled and focused.
    void unload() { close(); }

    void accept() override { unload(); }
    void reject() override { unload(); }

Q_SIGNALS:
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    VidorunMain &m_main;

private:
    void tellClosing();

    bool m_closeAccepted = false;
    bool m_closing = false;
};

}  // namespace vidorun
