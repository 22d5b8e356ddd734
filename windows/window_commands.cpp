// Commands that open the child windows, and the information commands.
#include "app/vidorun_main.h"
#include "windows/about_form.h"
#include "windows/add_movie_form.h"
#include "windows/options_form.h"
#include "windows/remove_movie_form.h"

namespace vidorun {

void VidorunMain::ADDMOVIE_Click()
{
    // Refused here rather than dropped on the way back.
    if (!roomForAnotherMovie(m)) {
        showMessage(QStringLiteral("This project is full! A project can hold no more than 99 movies."),
                    QStringLiteral("No room for another movie!"));
        return;
    }
    openChildWindow(new AddMovieForm(*this));
}

void VidorunMain::REMOVEMOVIE_Click()
{
    if (m.TitleCount == QLatin1String("0")) {
        showMessage(QStringLiteral("There are no movies to remove!"), QStringLiteral("No movies te remove!"));
        return;
    }
    auto *form = new RemoveMovieForm(*this);
    const int n = listableMovies(m);
    for (m.LoopIndex = 1; m.LoopIndex <= n; ++m.LoopIndex)
        form->addTitle(m.MovieTitles[m.LoopIndex]);
    openChildWindow(form);
}

void VidorunMain::CURRENTSETTINGS_Click()
{
    auto *form = new OptionsForm(*this);
    form->fill(settingsSnapshot(m));
    openChildWindow(form);
}

void VidorunMain::About_Click()
{
    openChildWindow(new frmAbout(*this));
}

void VidorunMain::ABOUTSCREEN_Click() { About_Click(); }
void VidorunMain::HELPME_Click() { notImplementedYet(); }
void VidorunMain::ENGLISHLANGUAGE_Click() { notImplementedYet(); }
void VidorunMain::DUTCHLANGUAGE_Click() { notImplementedYet(); }

void VidorunMain::notImplementedYet()
{
    showMessage(QStringLiteral("This option is not yet implemented!"), QStringLiteral("Not quite finished with this..."));
}

}  // namespace vidorun
