#include "windows/about_form.h"

#include "app/version.h"
#include "ui/descriptions.h"

namespace vidorun {

frmAbout::frmAbout(VidorunMain &main) : ChildWindow(main, ui::AboutWindow)
{
    Form_Load();
}

void frmAbout::Form_Load()
{
    view().setText("lblVersion", "Version " + versionText());
}

void frmAbout::command(std::string_view name)
{
    if (name == "cmdOK")
        cmdOK_Click();
}

void frmAbout::cmdOK_Click()
{
    unload();
}

}  // namespace vidorun
