#include "windows/about_form.h"

#include "app/vidorun_main.h"
#include "windows/form_controls.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace vidorun {

namespace {

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

frmAbout::frmAbout(VidorunMain &main) : ChildWindow(main, 382, 237)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vidorun"));
    setFont(sansSerifFont());

    PicIcon = placeLabel(this, "PicIcon", QString(), 8, 16, 48, 40);
    PicIcon->setPixmap(QPixmap(QStringLiteral(":/vidorun/vidorun.png")));
    PicIcon->setScaledContents(true);
    PicIcon->setAccessibleName(QStringLiteral("Vidorun icon"));

    lblTitle = placeLabel(this, "lblTitle", QStringLiteral("Vidorun"), 64, 16, 259, 32);
    lblTitle->setFont(sansSerifFont(13.5, true));
    setTextColour(lblTitle, Qt::black);

    lblVersion = placeLabel(this, "lblVersion", QStringLiteral("Version"), 64, 52, 259, 15);

    lblDescription = placeLabel(this, "lblDescription", QStringLiteral("Made by the Vidorun developers"), 64, 75, 259, 14);
    QFont underlined = sansSerifFont();
    underlined.setUnderline(true);
    lblDescription->setFont(underlined);
    setTextColour(lblDescription, Qt::black);

    // Sized to its text: it widens where the system's font runs wider than
    // the one it was laid out with.
    Bugreporttext = placeLabel(this, "Bugreporttext", QStringLiteral("Bugs can be reported at"), 64, 136, 114, 13);
    Bugreporttext->resize(std::max(114, Bugreporttext->fontMetrics().horizontalAdvance(Bugreporttext->text()) + 1), 13);
    // Plain blue text: the address is shown, not opened.
    bugreportlink = placeLabel(this, "bugreportlink", QStringLiteral("https://vidorun.example/bugs"), 64, 152, 281, 17);
    bugreportlink->setTextInteractionFlags(Qt::NoTextInteraction);
    setTextColour(bugreportlink, Qt::blue);

    // A one-pixel grey rule from (6, 184) to (377, 184).
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::NoFrame);
    Line1->setGeometry(6, 184, 372, 1);
    QPalette rule = Line1->palette();
    rule.setColor(QPalette::Window, QColor(128, 128, 128));
    Line1->setPalette(rule);
    Line1->setAutoFillBackground(true);

    Label3 = placeLabel(this, "Label3", QStringLiteral("Warning: The use of this program is AT OWN RISK!!"), 16, 208, 257, 17);

    cmdOK = placeButton(this, "cmdOK", QStringLiteral("OK"), 283, 208, 84, 23);
    // The default button: Enter presses it, and Esc closes the box too.
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    lblVersion->setText(QStringLiteral("Version ") + versionText());
}

void frmAbout::cmdOK_Click()
{
    unload();
}

}  // namespace vidorun
