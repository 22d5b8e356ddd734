#pragma once

#include "windows/child_window.h"

#include <string>

namespace vidorun {

// "add movie": the author types the movie's name and the label of its CD and
// picks the movie file. OK hands the three texts to the main window's
// transfer labels and closes; the main window adds the movie when it is
// active again. The window never touches the project.
class AddMovieForm final : public ChildWindow {
public:
    explicit AddMovieForm(VidorunMain &main);

    void command(std::string_view name) override;

private:
    void BrowseButton_Click();
    void OKButton_Click();
    void CancelButton_Click();
    void say(const std::string &text, const std::string &title);
};

}  // namespace vidorun
