#pragma once

#include "windows/child_window.h"

#include <string>

namespace vidorun {

// "remove movie": lists the project's titles; Remove hands the selected
// movie's number to the main window's transfer label and closes.
class RemoveMovieForm final : public ChildWindow {
public:
    explicit RemoveMovieForm(VidorunMain &main);

    void addTitle(const std::string &title);
    void command(std::string_view name) override;

private:
    void RemoveButton_Click();
    void CloseButton_Click();
};

}  // namespace vidorun
