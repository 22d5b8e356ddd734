#include "windows/options_form.h"

#include "app/vidorun_main.h"
#include "windows/form_controls.h"

#include <QLabel>
#include <QPushButton>

namespace vidorun {

SettingsSnapshot settingsSnapshot(const Project &project)
{
    // Only an empty text is missing; blanks are shown as they are.
    const auto orNone = [](const QString &value) {
        return value.isEmpty() ? QStringLiteral("none ... yet") : value;
    };
    SettingsSnapshot s;
    s.caption = QStringLiteral("Vidorun ; settings for project ")
        + (project.ProjectTitle.isEmpty() ? QStringLiteral("<no title yet!>") : project.ProjectTitle);
    s.autorunlocation = orNone(project.ProjectFile);
    s.currentlanguage = QStringLiteral("not implemented yet!");
    s.coverpicturepath = orNone(project.CoverPicturePath);
    s.playerpath = orNone(project.PlayerPath);
    s.codecpath = orNone(project.CodecPath);
    s.Moviesinproject = project.TitleCount;
    s.version = versionText();
    return s;
}

OptionsForm::OptionsForm(VidorunMain &main) : ChildWindow(main, 613, 159)
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("Vidorun ; current settings"));
    setFont(sansSerifFont());

    struct Row {
        const char *captionName;
        const char *captionText;
        const char *valueName;
        QLabel **value;
        int top;
    };
    const Row rows[] = {
        {"autorunlocationtext", "location of autorun.ini:", "autorunlocation", &autorunlocation, 16},
        {"currentlanguagetext", "current language:", "currentlanguage", &currentlanguage, 32},
        {"coverpicturepathtext", "location of coverpicture:", "coverpicturepath", &coverpicturepath, 48},
        {"playerpathtext", "location of player:", "playerpath", &playerpath, 64},
        {"codecpathtext", "location of codec:", "codecpath", &codecpath, 80},
        {"moviesinprojecttext", "nr of movies in project:", "Moviesinproject", &Moviesinproject, 96},
        {"versiontext", "this version of Vidorun:", "version", &version, 120},
    };
    for (const Row &row : rows) {
        // Captions end at x = 129; the shorter movie-count caption starts
        // further right to end there too.
        const bool movieCount = row.value == &Moviesinproject;
        QLabel *caption = placeLabel(this, row.captionName, QLatin1String(row.captionText), movieCount ? 16 : 8,
                                     row.top, movieCount ? 113 : 121, 17);
        caption->setAlignment(Qt::AlignRight | Qt::AlignTop);
        *row.value = placeLabel(this, row.valueName, QStringLiteral("Label1"), 136, row.top, movieCount ? 201 : 457, 17);
    }

    CloseCMD = placeButton(this, "CloseCMD", QStringLiteral("CLOSE"), 512, 128, 89, 25);
    // The only control that takes the focus: Enter presses it, and Esc
    // closes the window too.
    CloseCMD->setDefault(true);
    CloseCMD->setFocus();
    connect(CloseCMD, &QPushButton::clicked, this, &OptionsForm::CloseCMD_Click);
}

void OptionsForm::fill(const SettingsSnapshot &settings)
{
    setCaption(this, settings.caption);
    autorunlocation->setText(settings.autorunlocation);
    currentlanguage->setText(settings.currentlanguage);
    coverpicturepath->setText(settings.coverpicturepath);
    playerpath->setText(settings.playerpath);
    codecpath->setText(settings.codecpath);
    Moviesinproject->setText(settings.Moviesinproject);
    version->setText(settings.version);
}

void OptionsForm::CloseCMD_Click()
{
    unload();
}

}  // namespace vidorun
