// The main window's controls, menus and the map from each of them to its
// handler. Positions are client-area pixels at 96 dpi.
#include "app/vidorun_main.h"
#include "windows/form_controls.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace vidorun {

namespace {

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h)
{
    QPushButton *button = placeButton(parent, name, caption, x, y, w, h);
    button->setFont(sansSerifFont(8.25, true));
    return button;
}

}  // namespace

void VidorunMain::buildUi()
{
    setObjectName(QStringLiteral("VidorunMain"));
    setWindowTitle(QStringLiteral("Vidorun"));
    setFont(sansSerifFont(8.25));
    // A fixed border: the window can be minimised and closed, never resized.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(586, 346);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    CoverPicture = placeLabel(client, "CoverPicture", QString(), 8, 8, 209, 329);
    CoverPicture->setFrameStyle(QFrame::Box | QFrame::Plain);
    CoverPicture->setLineWidth(1);
    CoverPicture->setScaledContents(true);
    CoverPicture->setAccessibleName(QStringLiteral("Cover picture"));

    NoPictureText = placeLabel(client, "NoPictureText", QStringLiteral("There is no picture loaded!"), 24, 120, 177, 57);
    NoPictureText->setFont(sansSerifFont(18, true));
    NoPictureText->setAlignment(Qt::AlignCenter);
    NoPictureText->setWordWrap(true);

    Label1 = placeLabel(client, "Label1", QStringLiteral("Please select your movie:"), 272, 16, 265, 17);
    QFont courier(QStringLiteral("Courier"));
    courier.setPointSizeF(12);
    Label1->setFont(courier);

    Movies = new QComboBox(client);
    Movies->setObjectName(QStringLiteral("Movies"));
    Movies->setGeometry(272, 40, 265, 21);
    Movies->setEditable(false);
    Movies->setAccessibleName(QStringLiteral("Movies"));
    Label1->setBuddy(Movies);

    About = makeButton(client, "About", QStringLiteral("I N F O"), 264, 144, 65, 25);
    EjectButton = makeButton(client, "EjectButton", QStringLiteral("E J E C T"), 336, 144, 65, 25);
    PlayButton = makeButton(client, "PlayButton", QStringLiteral("P L A Y"), 408, 144, 65, 25);
    QuitButton = makeButton(client, "QuitButton", QStringLiteral("Q U I T"), 480, 144, 65, 25);
    MPlayer = makeButton(client, "MPlayer", QStringLiteral("I N S T A L L    P L A Y E R"), 264, 208, 281, 25);
    Codec_Button = makeButton(client, "Codec_Button", QStringLiteral("I N S T A L L    C O D E C"), 264, 240, 281, 25);

    TotalMoviesText = placeLabel(client, "TotalMoviesText", QStringLiteral("total number of movies:"), 448, 328, 137, 17);
    TotalMoviesText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    CodecLogo = placeLabel(client, "CodecLogo", QString(), 488, 272, 72, 56);
    CodecLogo->setAccessibleName(QStringLiteral("Video codec logo"));
    CodecLogo->setAccessibleDescription(QStringLiteral("The movies need a video codec"));

    tempmoviename = placeLabel(client, "tempmoviename", QStringLiteral("empty"), 16, 256, 185, 17);
    tempmoviecd = placeLabel(client, "tempmoviecd", QStringLiteral("empty"), 16, 272, 193, 17);
    tempmovielocation = placeLabel(client, "tempmovielocation", QStringLiteral("empty"), 16, 288, 193, 17);
    tempremovemovie = placeLabel(client, "tempremovemovie", QStringLiteral("empty"), 16, 216, 193, 17);
    for (QLabel *field : {tempmoviename, tempmoviecd, tempmovielocation, tempremovemovie})
        field->hide();

    NoPictureText->raise();

    // Tab order: the list, then the four small buttons, then the two wide ones.
    QWidget::setTabOrder(Movies, About);
    QWidget::setTabOrder(About, EjectButton);
    QWidget::setTabOrder(EjectButton, PlayButton);
    QWidget::setTabOrder(PlayButton, QuitButton);
    QWidget::setTabOrder(QuitButton, MPlayer);
    QWidget::setTabOrder(MPlayer, Codec_Button);
    Movies->setFocus();
    // The pictures last: the first one waits for the list of image plugins,
    // which the start-up warm-up makes meanwhile.
    CodecLogo->setPixmap(QPixmap(QStringLiteral(":/vidorun/codeclogo.jpg")));
    setWindowIcon(QIcon(QStringLiteral(":/vidorun/vidorun.png")));
}

void VidorunMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto item = [this](QMenu *menu, const char *name, const QString &caption,
                       const QKeySequence &shortcut = QKeySequence()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        return action;
    };
    auto separator = [](QMenu *menu, const char *name) { menu->addSeparator()->setObjectName(QLatin1String(name)); };
    auto menu = [bar](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };

    QMenu *file = menu("FileMenu", QStringLiteral("&File"));
    OPENINIFILE = item(file, "OPENINIFILE", QStringLiteral("&Read 'Autorun.ini' file from disk"), QKeySequence(Qt::CTRL | Qt::Key_O));
    SAVEFILE = item(file, "SAVEFILE", QStringLiteral("&Write 'Autorun.ini' file to disk"), QKeySequence(Qt::CTRL | Qt::Key_S));
    separator(file, "separator1");
    EXIT = item(file, "EXIT", QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu *movie = menu("MOVIEMENU", QStringLiteral("&Movie"));
    ADDMOVIE = item(movie, "ADDMOVIE", QStringLiteral("Add movie"));
    REMOVEMOVIE = item(movie, "REMOVEMOVIE", QStringLiteral("Remove movie"));
    separator(movie, "nothing200");
    PLAYMOVIE = item(movie, "PLAYMOVIE", QStringLiteral("Play"));

    QMenu *install = menu("INSTALLMENU", QStringLiteral("&Install"));
    INSTALLPLAYER = item(install, "INSTALLPLAYER", QStringLiteral("...Player"));
    INSTALLCODEC = item(install, "INSTALLCODEC", QStringLiteral("...Codec"));

    QMenu *settings = menu("SETTINGSMENU", QStringLiteral("&Settings"));
    CURRENTSETTINGS = item(settings, "CURRENTSETTINGS", QStringLiteral("Current settings"));
    separator(settings, "nothingagain");
    VIDORUNTITLE = item(settings, "VIDORUNTITLE", QStringLiteral("Vidorun project title"));
    SELECTCOVER = item(settings, "SELECTCOVER", QStringLiteral("Select coverpicture"));
    PLAYERLOCATION = item(settings, "PLAYERLOCATION", QStringLiteral("Select player"));
    CODECLOCATION = item(settings, "CODECLOCATION", QStringLiteral("Select codec"));
    separator(settings, "anothernothing");
    QMenu *language = settings->addMenu(QStringLiteral("Language"));
    language->setObjectName(QStringLiteral("LANGUAGEMENU"));
    ENGLISHLANGUAGE = item(language, "ENGLISHLANGUAGE", QStringLiteral("English"));
    DUTCHLANGUAGE = item(language, "DUTCHLANGUAGE", QStringLiteral("Dutch"));
    // The check mark on English is fixed: choosing a language never moves it.
    ENGLISHLANGUAGE->setCheckable(true);
    ENGLISHLANGUAGE->setChecked(true);
    connect(ENGLISHLANGUAGE, &QAction::toggled, ENGLISHLANGUAGE, [this](bool) {
        const QSignalBlocker block(ENGLISHLANGUAGE);
        ENGLISHLANGUAGE->setChecked(true);
    });

    QMenu *help = menu("HELPMENU", QStringLiteral("&Help"));
    HELPME = item(help, "HELPME", QStringLiteral("Vidorun Help Topics"));
    ABOUTSCREEN = item(help, "ABOUTSCREEN", QStringLiteral("About Vidorun"));
}

void VidorunMain::connectCommands()
{
    struct ButtonCommand {
        QPushButton *button;
        const char *name;
        void (VidorunMain::*handler)();
    };
    const ButtonCommand buttons[] = {
        {PlayButton, "PlayButton_Click", &VidorunMain::PlayButton_Click},
        {EjectButton, "EjectButton_Click", &VidorunMain::EjectButton_Click},
        {QuitButton, "QuitButton_Click", &VidorunMain::QuitButton_Click},
        {About, "About_Click", &VidorunMain::About_Click},
        {MPlayer, "MPlayer_Click", &VidorunMain::MPlayer_Click},
        {Codec_Button, "Codec_Button_Click", &VidorunMain::Codec_Button_Click},
    };
    for (const ButtonCommand &c : buttons)
        connect(c.button, &QPushButton::clicked, this, [this, c] { runCommand(c.name, c.handler); });

    struct MenuCommand {
        QAction *action;
        const char *name;
        void (VidorunMain::*handler)();
    };
    const MenuCommand items[] = {
        {OPENINIFILE, "OPENINIFILE_Click", &VidorunMain::OPENINIFILE_Click},
        {SAVEFILE, "SAVEFILE_Click", &VidorunMain::SAVEFILE_Click},
        {EXIT, "EXIT_Click", &VidorunMain::EXIT_Click},
        {ADDMOVIE, "ADDMOVIE_Click", &VidorunMain::ADDMOVIE_Click},
        {REMOVEMOVIE, "REMOVEMOVIE_Click", &VidorunMain::REMOVEMOVIE_Click},
        {PLAYMOVIE, "PLAYMOVIE_Click", &VidorunMain::PLAYMOVIE_Click},
        {INSTALLPLAYER, "INSTALLPLAYER_Click", &VidorunMain::INSTALLPLAYER_Click},
        {INSTALLCODEC, "INSTALLCODEC_Click", &VidorunMain::INSTALLCODEC_Click},
        {CURRENTSETTINGS, "CURRENTSETTINGS_Click", &VidorunMain::CURRENTSETTINGS_Click},
        {VIDORUNTITLE, "VIDORUNTITLE_Click", &VidorunMain::VIDORUNTITLE_Click},
        {SELECTCOVER, "SELECTCOVER_Click", &VidorunMain::SELECTCOVER_Click},
        {PLAYERLOCATION, "PLAYERLOCATION_Click", &VidorunMain::PLAYERLOCATION_Click},
        {CODECLOCATION, "CODECLOCATION_Click", &VidorunMain::CODECLOCATION_Click},
        {ENGLISHLANGUAGE, "ENGLISHLANGUAGE_Click", &VidorunMain::ENGLISHLANGUAGE_Click},
        {DUTCHLANGUAGE, "DUTCHLANGUAGE_Click", &VidorunMain::DUTCHLANGUAGE_Click},
        {HELPME, "HELPME_Click", &VidorunMain::HELPME_Click},
        {ABOUTSCREEN, "ABOUTSCREEN_Click", &VidorunMain::ABOUTSCREEN_Click},
    };
    for (const MenuCommand &c : items)
        connect(c.action, &QAction::triggered, this, [this, c] { runCommand(c.name, c.handler); });
}

}  // namespace vidorun
