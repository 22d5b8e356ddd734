#pragma once

#include "windows/child_window.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace vidorun {

// "remove movie": lists every movie title; Remove hands the selected movie's
// number to the main window's transfer label and closes, and the main window
// removes the movie when it is active again. The window never touches the
// project.
class RemoveMovieForm : public ChildWindow {
    Q_OBJECT

public:
    explicit RemoveMovieForm(VidorunMain &main);

    // Appends one line to the list; line i is movie number i.
    void addTitle(const QString &title);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void RemoveButton_Click();
    void CloseButton_Click();

    QLabel *SelectMovieText = nullptr;
    QListWidget *RemoveMovieList = nullptr;
    QPushButton *RemoveButton = nullptr;
    QPushButton *CloseButton = nullptr;
};

}  // namespace vidorun
