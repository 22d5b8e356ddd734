#pragma once

#include "windows/child_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vidorun {

// "add movie": the author types the movie's name and the label of its CD and
// picks the movie file. OK hands the three texts to the main window's
// transfer labels and closes; the main window adds the movie when it is
// active again. The window never touches the project.
class AddMovieForm : public ChildWindow {
    Q_OBJECT

public:
    explicit AddMovieForm(VidorunMain &main);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BrowseButton_Click();
    void OKButton_Click();
    void CancelButton_Click();
    void say(const QString &text, const QString &title);

    QLabel *MovieTitleText = nullptr;
    QLineEdit *MovieName = nullptr;
    QLabel *MovieLocationText = nullptr;
    QLineEdit *MovieCD = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *MovieLocation = nullptr;
    QPushButton *BrowseButton = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

}  // namespace vidorun
