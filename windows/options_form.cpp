#include "windows/options_form.h"

#include "app/project.h"
#include "app/version.h"
#include "ui/descriptions.h"

namespace vidorun {

SettingsSnapshot settingsSnapshot(const Project &project)
{
    // Only an empty text is missing; blanks are shown as they are.
    const auto orNone = [](const std::string &value) { return value.empty() ? std::string("none ... yet") : value; };
    SettingsSnapshot s;
    s.caption = "Vidorun ; settings for project "
                + (project.ProjectTitle.empty() ? std::string("<no title yet!>") : project.ProjectTitle);
    s.autorunlocation = orNone(project.ProjectFile);
    s.currentlanguage = "not implemented yet!";
    s.coverpicturepath = orNone(project.CoverPicturePath);
    s.playerpath = orNone(project.PlayerPath);
    s.codecpath = orNone(project.CodecPath);
    s.Moviesinproject = project.TitleCount;
    s.version = versionText();
    return s;
}

OptionsForm::OptionsForm(VidorunMain &main) : ChildWindow(main, ui::SettingsWindow) {}

void OptionsForm::fill(const SettingsSnapshot &settings)
{
    ui::WindowView &v = view();
    v.setCaption(settings.caption);
    v.setText("autorunlocation", settings.autorunlocation);
    v.setText("currentlanguage", settings.currentlanguage);
    v.setText("coverpicturepath", settings.coverpicturepath);
    v.setText("playerpath", settings.playerpath);
    v.setText("codecpath", settings.codecpath);
    v.setText("Moviesinproject", settings.Moviesinproject);
    v.setText("version", settings.version);
}

void OptionsForm::command(std::string_view name)
{
    if (name == "CloseCMD")
        CloseCMD_Click();
}

void OptionsForm::CloseCMD_Click()
{
    unload();
}

}  // namespace vidorun
