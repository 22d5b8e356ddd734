#pragma once

#include "windows/child_window.h"

namespace vidorun {

// "About Vidorun": the version, the credit, where to report faults. OK,
// Enter and Esc close it.
class frmAbout final : public ChildWindow {
public:
    explicit frmAbout(VidorunMain &main);

    void command(std::string_view name) override;

private:
    void Form_Load();
    void cmdOK_Click();
};

}  // namespace vidorun
