#include "windows/add_movie_form.h"

#include "app/vidorun_main.h"
#include "ui/descriptions.h"

namespace vidorun {

AddMovieForm::AddMovieForm(VidorunMain &main) : ChildWindow(main, ui::AddMovieWindow) {}

void AddMovieForm::command(std::string_view name)
{
    if (name == "BrowseButton")
        BrowseButton_Click();
    else if (name == "OKButton")
        OKButton_Click();
    else if (name == "CancelButton")
        CancelButton_Click();
}

void AddMovieForm::say(const std::string &text, const std::string &title)
{
    m_main.platform().messages.show(&view(), text, title, MsgStyle::Critical);
}

void AddMovieForm::BrowseButton_Click()
{
    // No name is preset: the dialog offers whatever file was chosen last in
    // any of the program's file dialogs.
    CommonDialog &dialog = m_main.ComDlg();
    dialog.prepare("Select a movie to add", "All Files (*.*)|*.*|Movies (*.avi)|*.avi", 2);
    if (!dialog.ShowOpen(&view()))
        return;

    const std::string chosen = dialog.FileName;
    if (m_main.FileExists(chosen)) {
        view().setText("MovieLocation", chosen);
        view().setEnabled("MovieLocation", true);
    } else {
        say("The movie " + chosen + " does not exists!", ErrorTitle);
    }
}

void AddMovieForm::OKButton_Click()
{
    const std::string forgotten = "Did we forgot something?";
    if (view().text("MovieName").empty()) {
        say("Please fill in a name for your movie", forgotten);
        return;
    }
    if (view().text("MovieCD").empty()) {
        say("Please fill in location for your movie", forgotten);
        return;
    }
    // Without a file the dialog is offered once; whatever comes of it, the
    // movie is handed over, if need be with an empty path.
    if (view().text("MovieLocation").empty())
        BrowseButton_Click();

    // The main window adds the movie once all three are no longer "empty";
    // the name goes last.
    m_main.setTransferField("tempmoviecd", view().text("MovieCD"));
    m_main.setTransferField("tempmovielocation", view().text("MovieLocation"));
    m_main.setTransferField("tempmoviename", view().text("MovieName"));
    unload();
}

void AddMovieForm::CancelButton_Click()
{
    unload();
}

}  // namespace vidorun
