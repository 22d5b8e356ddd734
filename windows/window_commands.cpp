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
        showMessage("This project is full! A project can hold no more than 99 movies.", "No room for another movie!");
        return;
    }
    openChildWindow(std::make_unique<AddMovieForm>(*this));
}

void VidorunMain::REMOVEMOVIE_Click()
{
    if (m.TitleCount == "0") {
        showMessage("There are no movies to remove!", "No movies te remove!");
        return;
    }
    auto form = std::make_unique<RemoveMovieForm>(*this);
    const int n = listableMovies(m);
    for (m.LoopIndex = 1; m.LoopIndex <= n; ++m.LoopIndex)
        form->addTitle(m.MovieTitles[std::size_t(m.LoopIndex)]);
    openChildWindow(std::move(form));
}

void VidorunMain::CURRENTSETTINGS_Click()
{
    auto form = std::make_unique<OptionsForm>(*this);
    form->fill(settingsSnapshot(m));
    openChildWindow(std::move(form));
}

void VidorunMain::About_Click()
{
    openChildWindow(std::make_unique<frmAbout>(*this));
}

void VidorunMain::ABOUTSCREEN_Click() { About_Click(); }
void VidorunMain::HELPME_Click() { notImplementedYet(); }
void VidorunMain::ENGLISHLANGUAGE_Click() { notImplementedYet(); }
void VidorunMain::DUTCHLANGUAGE_Click() { notImplementedYet(); }

void VidorunMain::notImplementedYet()
{
    showMessage("This option is not yet implemented!", "Not quite finished with this...");
}

}  // namespace vidorun
