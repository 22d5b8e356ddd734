#include "windows/remove_movie_form.h"

#include "app/vidorun_main.h"
#include "windows/form_controls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace vidorun {

RemoveMovieForm::RemoveMovieForm(VidorunMain &main) : ChildWindow(main, 466, 298)
{
    setObjectName(QStringLiteral("RemoveMovieForm"));
    setWindowTitle(QStringLiteral("remove movie"));
    setFont(sansSerifFont());

    SelectMovieText = placeLabel(this, "SelectMovieText",
                                 QStringLiteral("Select the movie to remove from this project:"), 16, 48, 377, 17);
    RemoveMovieList = new QListWidget(this);
    RemoveMovieList->setObjectName(QStringLiteral("RemoveMovieList"));
    RemoveMovieList->setGeometry(16, 80, 433, 160);
    RemoveMovieList->setSelectionMode(QAbstractItemView::SingleSelection);
    RemoveMovieList->setAccessibleName(QStringLiteral("Movies in this project"));
    SelectMovieText->setBuddy(RemoveMovieList);
    RemoveButton = placeButton(this, "RemoveButton", QStringLiteral("Remove"), 280, 256, 81, 25);
    CloseButton = placeButton(this, "CloseButton", QStringLiteral("Close"), 368, 256, 81, 25);

    setTabOrder(RemoveMovieList, RemoveButton);
    setTabOrder(RemoveButton, CloseButton);
    RemoveMovieList->setFocus();

    connect(RemoveButton, &QPushButton::clicked, this, &RemoveMovieForm::RemoveButton_Click);
    connect(CloseButton, &QPushButton::clicked, this, &RemoveMovieForm::CloseButton_Click);
}

void RemoveMovieForm::addTitle(const QString &title)
{
    RemoveMovieList->addItem(title);
}

// Esc presses "Close", which removes nothing. Enter presses only a button
// that has the focus: on the list it could as well mean "Remove", so it
// means neither.
void RemoveMovieForm::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pressFocusedButton(this);
        return;
    case Qt::Key_Escape:
        CloseButton->click();
        return;
    default:
        ChildWindow::keyPressEvent(event);
    }
}

void RemoveMovieForm::RemoveButton_Click()
{
    const QList<QListWidgetItem *> selected = RemoveMovieList->selectedItems();
    if (selected.isEmpty()) {
        // The window closes all the same; the author opens it again to retry.
        m_main.platform().messages.show(this, QStringLiteral("You did not select a movie to remove!"),
                                        QStringLiteral("Nothing to do!"), MsgStyle::Critical);
    } else {
        m_main.tempremovemovie->setText(QString::number(RemoveMovieList->row(selected.constFirst()) + 1));
    }
    unload();
}

void RemoveMovieForm::CloseButton_Click()
{
    unload();
}

}  // namespace vidorun
