#include "windows/add_movie_form.h"

#include "app/vidorun_main.h"
#include "windows/form_controls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vidorun {

AddMovieForm::AddMovieForm(VidorunMain &main) : ChildWindow(main, 416, 124)
{
    setObjectName(QStringLiteral("AddMovieForm"));
    setWindowTitle(QStringLiteral("add movie"));
    setFont(sansSerifFont());

    MovieTitleText = placeLabel(this, "MovieTitleText", QStringLiteral("Movie Name:"), 8, 16, 81, 17);
    MovieName = placeTextBox(this, "MovieName", QStringLiteral("Movie Name"), 104, 16, 305, 19);
    MovieLocationText = placeLabel(this, "MovieLocationText", QStringLiteral("Located on:"), 8, 32, 81, 17);
    MovieCD = placeTextBox(this, "MovieCD", QStringLiteral("Located on"), 104, 32, 305, 19);
    Label1 = placeLabel(this, "Label1", QStringLiteral("Location:"), 8, 48, 81, 17);
    MovieLocation = placeTextBox(this, "MovieLocation", QStringLiteral("Location"), 104, 48, 305, 19);
    BrowseButton = placeButton(this, "BrowseButton", QStringLiteral("Location..."), 176, 80, 73, 25);
    OKButton = placeButton(this, "OKButton", QStringLiteral("OK"), 256, 80, 73, 25);
    CancelButton = placeButton(this, "CancelButton", QStringLiteral("Cancel"), 336, 80, 73, 25);

    for (QLabel *caption : {MovieTitleText, MovieLocationText, Label1})
        caption->setAlignment(Qt::AlignRight | Qt::AlignTop);
    MovieLocationText->setBuddy(MovieCD);
    Label1->setBuddy(MovieLocation);
    MovieTitleText->setBuddy(MovieName);

    // The path can be typed only once a file has been chosen.
    MovieLocation->setEnabled(false);

    setTabOrder(BrowseButton, OKButton);
    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, MovieLocation);
    setTabOrder(MovieLocation, MovieCD);
    setTabOrder(MovieCD, MovieName);
    BrowseButton->setFocus();

    connect(BrowseButton, &QPushButton::clicked, this, &AddMovieForm::BrowseButton_Click);
    connect(OKButton, &QPushButton::clicked, this, &AddMovieForm::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &AddMovieForm::CancelButton_Click);
}

// The window has neither a default nor a cancel button: Enter presses only a
// button that has the focus, and Esc does nothing.
void AddMovieForm::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pressFocusedButton(this);
        return;
    case Qt::Key_Escape:
        return;
    default:
        ChildWindow::keyPressEvent(event);
    }
}

void AddMovieForm::say(const QString &text, const QString &title)
{
    m_main.platform().messages.show(this, text, title, MsgStyle::Critical);
}

void AddMovieForm::BrowseButton_Click()
{
    // No name is preset: the dialog offers whatever file was chosen last in
    // any of the program's file dialogs.
    CommonDialog &dialog = m_main.ComDlg();
    dialog.prepare(QStringLiteral("Select a movie to add"),
                   QStringLiteral("All Files (*.*)|*.*|Movies (*.avi)|*.avi"), 2);
    if (!dialog.ShowOpen(this))
        return;

    const QString chosen = dialog.FileName;
    if (m_main.FileExists(chosen)) {
        MovieLocation->setText(chosen);
        MovieLocation->setEnabled(true);
    } else {
        say(QStringLiteral("The movie ") + chosen + QStringLiteral(" does not exists!"), ErrorTitle);
    }
}

void AddMovieForm::OKButton_Click()
{
    const QString forgotten = QStringLiteral("Did we forgot something?");
    if (MovieName->text().isEmpty()) {
        say(QStringLiteral("Please fill in a name for your movie"), forgotten);
        return;
    }
    if (MovieCD->text().isEmpty()) {
        say(QStringLiteral("Please fill in location for your movie"), forgotten);
        return;
    }
    // Without a file the dialog is offered once; whatever comes of it, the
    // movie is handed over, if need be with an empty path.
    if (MovieLocation->text().isEmpty())
        BrowseButton_Click();

    // The main window adds the movie once all three are no longer "empty";
    // the name goes last.
    m_main.tempmoviecd->setText(MovieCD->text());
    m_main.tempmovielocation->setText(MovieLocation->text());
    m_main.tempmoviename->setText(MovieName->text());
    unload();
}

void AddMovieForm::CancelButton_Click()
{
    unload();
}

}  // namespace vidorun
