#pragma once

#include "windows/child_window.h"

class QFrame;
class QLabel;
class QPushButton;

namespace vidorun {

// "About Vidorun": the program icon, name, version, credit and where to
// report bugs. OK, Enter and Esc close it.
class frmAbout : public ChildWindow {
    Q_OBJECT

public:
    explicit frmAbout(VidorunMain &main);

private:
    void Form_Load();
    void cmdOK_Click();

    QLabel *PicIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *Bugreporttext = nullptr;
    QLabel *bugreportlink = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *cmdOK = nullptr;
};

}  // namespace vidorun
