#include "windows/remove_movie_form.h"

#include "app/vidorun_main.h"
#include "ui/descriptions.h"

namespace vidorun {

RemoveMovieForm::RemoveMovieForm(VidorunMain &main) : ChildWindow(main, ui::RemoveMovieWindow) {}

void RemoveMovieForm::addTitle(const std::string &title)
{
    view().addItem("RemoveMovieList", title);
}

void RemoveMovieForm::command(std::string_view name)
{
    if (name == "RemoveButton")
        RemoveButton_Click();
    else if (name == "CloseButton")
        CloseButton_Click();
}

void RemoveMovieForm::RemoveButton_Click()
{
    const int selected = view().currentIndex("RemoveMovieList");
    if (selected < 0) {
        // The window closes all the same; the author opens it again to retry.
        m_main.platform().messages.show(&view(), "You did not select a movie to remove!", "Nothing to do!",
                                        MsgStyle::Critical);
    } else {
        m_main.setTransferField("tempremovemovie", std::to_string(selected + 1));
    }
    unload();
}

void RemoveMovieForm::CloseButton_Click()
{
    unload();
}

}  // namespace vidorun
