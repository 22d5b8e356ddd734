// The main window as laid out: controls, fonts, focus, menus, the command
// map, the shortcuts and quitting.
#include "support/caption_fit.h"
#include "support/eventually.h"
#include "support/main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

struct ControlSpot {
    const char *name;
    QRect geometry;
    const char *caption;  // nullptr: a picture, no caption
};

// Client-area pixels at 96 dpi.
const ControlSpot Controls[] = {
    {"Movies", {272, 40, 265, 21}, nullptr},
    {"About", {264, 144, 65, 25}, "I N F O"},
    {"EjectButton", {336, 144, 65, 25}, "E J E C T"},
    {"PlayButton", {408, 144, 65, 25}, "P L A Y"},
    {"QuitButton", {480, 144, 65, 25}, "Q U I T"},
    {"MPlayer", {264, 208, 281, 25}, "I N S T A L L    P L A Y E R"},
    {"Codec_Button", {264, 240, 281, 25}, "I N S T A L L    C O D E C"},
    {"Label1", {272, 16, 265, 17}, "Please select your movie:"},
    {"NoPictureText", {24, 120, 177, 57}, "There is no picture loaded!"},
    {"TotalMoviesText", {448, 328, 137, 17}, "Total number of movies: 0"},
    {"CoverPicture", {8, 8, 209, 329}, nullptr},
    {"CodecLogo", {488, 272, 72, 56}, nullptr},
    {"tempmoviename", {16, 256, 185, 17}, "empty"},
    {"tempmoviecd", {16, 272, 193, 17}, "empty"},
    {"tempmovielocation", {16, 288, 193, 17}, "empty"},
    {"tempremovemovie", {16, 216, 193, 17}, "empty"},
};

const char *const TransferFields[] = {"tempmoviename", "tempmoviecd", "tempmovielocation", "tempremovemovie"};

const char *const Buttons[] = {"About", "EjectButton", "PlayButton", "QuitButton", "MPlayer", "Codec_Button"};

struct MenuLine {
    const char *name;
    const char *caption;  // "-" for a separator
    QKeySequence shortcut;
};

struct MenuLayout {
    const char *name;
    const char *caption;
    std::vector<MenuLine> lines;
};

const MenuLayout Menus[] = {
    {"FileMenu",
     "&File",
     {{"OPENINIFILE", "&Read 'Autorun.ini' file from disk", QKeySequence(Qt::CTRL | Qt::Key_O)},
      {"SAVEFILE", "&Write 'Autorun.ini' file to disk", QKeySequence(Qt::CTRL | Qt::Key_S)},
      {"separator1", "-", {}},
      {"EXIT", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_X)}}},
    {"MOVIEMENU",
     "&Movie",
     {{"ADDMOVIE", "Add movie", {}}, {"REMOVEMOVIE", "Remove movie", {}}, {"nothing200", "-", {}}, {"PLAYMOVIE", "Play", {}}}},
    {"INSTALLMENU", "&Install", {{"INSTALLPLAYER", "...Player", {}}, {"INSTALLCODEC", "...Codec", {}}}},
    {"SETTINGSMENU",
     "&Settings",
     {{"CURRENTSETTINGS", "Current settings", {}},
      {"nothingagain", "-", {}},
      {"VIDORUNTITLE", "Vidorun project title", {}},
      {"SELECTCOVER", "Select coverpicture", {}},
      {"PLAYERLOCATION", "Select player", {}},
      {"CODECLOCATION", "Select codec", {}},
      {"anothernothing", "-", {}},
      {"LANGUAGEMENU", "Language", {}}}},
    {"LANGUAGEMENU", "Language", {{"ENGLISHLANGUAGE", "English", {}}, {"DUTCHLANGUAGE", "Dutch", {}}}},
    {"HELPMENU", "&Help", {{"HELPME", "Vidorun Help Topics", {}}, {"ABOUTSCREEN", "About Vidorun", {}}}},
};

// Every source of a command and the handler it must reach.
struct CommandSource {
    const char *source;
    bool isButton;
    const char *handler;
};

const CommandSource Commands[] = {
    {"PlayButton", true, "PlayButton_Click"},
    {"EjectButton", true, "EjectButton_Click"},
    {"QuitButton", true, "QuitButton_Click"},
    {"About", true, "About_Click"},
    {"MPlayer", true, "MPlayer_Click"},
    {"Codec_Button", true, "Codec_Button_Click"},
    {"OPENINIFILE", false, "OPENINIFILE_Click"},
    {"SAVEFILE", false, "SAVEFILE_Click"},
    {"EXIT", false, "EXIT_Click"},
    {"ADDMOVIE", false, "ADDMOVIE_Click"},
    {"REMOVEMOVIE", false, "REMOVEMOVIE_Click"},
    {"PLAYMOVIE", false, "PLAYMOVIE_Click"},
    {"INSTALLPLAYER", false, "INSTALLPLAYER_Click"},
    {"INSTALLCODEC", false, "INSTALLCODEC_Click"},
    {"CURRENTSETTINGS", false, "CURRENTSETTINGS_Click"},
    {"VIDORUNTITLE", false, "VIDORUNTITLE_Click"},
    {"SELECTCOVER", false, "SELECTCOVER_Click"},
    {"PLAYERLOCATION", false, "PLAYERLOCATION_Click"},
    {"CODECLOCATION", false, "CODECLOCATION_Click"},
    {"ENGLISHLANGUAGE", false, "ENGLISHLANGUAGE_Click"},
    {"DUTCHLANGUAGE", false, "DUTCHLANGUAGE_Click"},
    {"HELPME", false, "HELPME_Click"},
    {"ABOUTSCREEN", false, "ABOUTSCREEN_Click"},
};

class MainWindowLayout : public MainWindowTest {};
class MainWindowMenus : public MainWindowTest {};
class MainWindowCommands : public MainWindowTest {
protected:
    QStringList commands;

    void watchCommands()
    {
        window().setCommandObserver([this](const QString &name) { commands << name; });
    }
};

}  // namespace

TEST_F(MainWindowLayout, WindowHasItsCaptionIconAndFixedClientArea)
{
    start();
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun"));
    ASSERT_NE(window().centralWidget(), nullptr);
    EXPECT_EQ(window().centralWidget()->size(), QSize(586, 346));
    EXPECT_EQ(window().centralWidget()->pos().y(), window().menuBar()->height());

    // The border is fixed: no size but the laid-out one, no maximise box.
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
    EXPECT_EQ(window().size(), window().minimumSize());
    EXPECT_FALSE(window().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window().windowFlags() & Qt::WindowCloseButtonHint);

    EXPECT_TRUE(window().windowIcon().availableSizes().contains(QSize(32, 32)));
    const QImage icon(QStringLiteral(":/vidorun/vidorun.png"));
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.format(), QImage::Format_Indexed8);
    EXPECT_LE(icon.colorCount(), 256);
}

TEST_F(MainWindowLayout, EveryControlSitsWhereTheLayoutPutsIt)
{
    start();
    QWidget *client = window().centralWidget();
    for (const ControlSpot &spot : Controls) {
        SCOPED_TRACE(spot.name);
        auto *control = window().findChild<QWidget *>(QLatin1String(spot.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget(), client) << "positions are in the client area";
        EXPECT_EQ(control->geometry(), spot.geometry);
        if (!spot.caption)
            continue;
        if (auto *button = qobject_cast<QPushButton *>(control))
            EXPECT_EQ(button->text(), QLatin1String(spot.caption));
        else if (auto *label = qobject_cast<QLabel *>(control))
            EXPECT_EQ(label->text(), QLatin1String(spot.caption));
        else
            ADD_FAILURE() << "neither a button nor a label";
    }
}

TEST_F(MainWindowLayout, FontsAreTheDesignedOnesWithSubstitutesThatExist)
{
    start();
    struct Expected {
        const char *name;
        const char *family;
        qreal points;
        bool bold;
    };
    const Expected fonts[] = {
        {"About", "MS Sans Serif", 8.25, true},         {"EjectButton", "MS Sans Serif", 8.25, true},
        {"PlayButton", "MS Sans Serif", 8.25, true},    {"QuitButton", "MS Sans Serif", 8.25, true},
        {"MPlayer", "MS Sans Serif", 8.25, true},       {"Codec_Button", "MS Sans Serif", 8.25, true},
        {"Label1", "Courier", 12, false},               {"NoPictureText", "MS Sans Serif", 18, true},
        {"TotalMoviesText", "MS Sans Serif", 8.25, false}, {"Movies", "MS Sans Serif", 8.25, false},
    };
    for (const Expected &e : fonts) {
        SCOPED_TRACE(e.name);
        auto *control = window().findChild<QWidget *>(QLatin1String(e.name));
        ASSERT_NE(control, nullptr);
        const QFont font = control->font();
        EXPECT_EQ(font.family(), QLatin1String(e.family));
        EXPECT_DOUBLE_EQ(font.pointSizeF(), e.points);
        EXPECT_EQ(font.bold(), e.bold);
        EXPECT_FALSE(font.italic());
#ifndef Q_OS_WIN
        // The designed fonts don't exist here; the substitutes must be the
        // ones that were measured to fit.
        const QString shown = QFontInfo(font).family();
        EXPECT_EQ(shown, QLatin1String(qstrcmp(e.family, "Courier") == 0 ? "Liberation Mono" : "Liberation Sans"));
#endif
    }
}

TEST_F(MainWindowLayout, NoCaptionIsClipped)
{
    start();
    expectCaptionsFit(&window());

    // The longest count the window shows, for a full project.
    label("TotalMoviesText")->setText(QStringLiteral("Total number of movies: 100"));
    expectCaptionsFit(&window());

    // The Eject button's other caption, shown while the tray is open.
    button("EjectButton")->setText(QStringLiteral("&CLOSE"));
    expectCaptionsFit(&window());
}

TEST_F(MainWindowLayout, PlaceholderLiesOverTheMiddleOfTheCoverOnTwoCentredLines)
{
    start();
    QLabel *text = label("NoPictureText");
    ASSERT_TRUE(text->isVisible());
    EXPECT_TRUE(text->wordWrap());
    EXPECT_TRUE(text->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(window().centralWidget()->childAt(text->geometry().center()), text) << "hidden under the cover frame";
    const QFontMetrics metrics(text->font());
    const QRect wrapped = metrics.boundingRect(QRect(0, 0, text->width(), 1000), Qt::TextWordWrap | Qt::AlignHCenter, text->text());
    EXPECT_GT(wrapped.height(), metrics.height()) << "one line only";
    EXPECT_LT(wrapped.height(), 3 * metrics.lineSpacing()) << "more than two lines";
}

TEST_F(MainWindowLayout, PicturesAreBuiltInAndNamedForAccessibility)
{
    start();
    QLabel *logo = label("CodecLogo");
    ASSERT_FALSE(logo->pixmap().isNull());
    EXPECT_EQ(logo->pixmap().size(), QSize(72, 56));
    EXPECT_FALSE(logo->hasScaledContents()) << "the logo is shown unscaled";
    EXPECT_FALSE(logo->accessibleName().isEmpty());

    QLabel *cover = label("CoverPicture");
    EXPECT_TRUE(cover->hasScaledContents()) << "the cover fills its frame";
    EXPECT_EQ(cover->frameShape(), QFrame::Box);
    EXPECT_EQ(cover->lineWidth(), 1);
    EXPECT_FALSE(cover->accessibleName().isEmpty());
    EXPECT_FALSE(movies()->accessibleName().isEmpty());
    EXPECT_FALSE(movies()->isEditable()) << "the list takes no typing";
}

TEST_F(MainWindowLayout, TransferFieldsExistButAreNeverShown)
{
    start();
    for (const char *name : TransferFields) {
        SCOPED_TRACE(name);
        QLabel *field = label(name);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(), QStringLiteral("empty"));
        EXPECT_FALSE(field->isVisible());
        field->setText(QStringLiteral("something pending"));
        EXPECT_FALSE(field->isVisible());
    }
}

TEST_F(MainWindowLayout, ListHasTheFocusAndTabVisitsTheButtonsInOrder)
{
    start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    EXPECT_EVENTUALLY_EQ(QApplication::focusWidget(), static_cast<QWidget *>(movies()));
    for (const char *name : Buttons) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EVENTUALLY_EQ(QApplication::focusWidget(), static_cast<QWidget *>(button(name)));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EVENTUALLY_EQ(QApplication::focusWidget(), static_cast<QWidget *>(movies()));
}

TEST_F(MainWindowMenus, MenuBarHoldsEveryItemInOrder)
{
    start();
    QStringList titles;
    for (QAction *a : window().menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Movie"), QStringLiteral("&Install"),
                                   QStringLiteral("&Settings"), QStringLiteral("&Help")}));

    for (const MenuLayout &menuLayout : Menus) {
        SCOPED_TRACE(menuLayout.name);
        auto *menu = window().findChild<QMenu *>(QLatin1String(menuLayout.name));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), QLatin1String(menuLayout.caption));
        const QList<QAction *> actions = menu->actions();
        ASSERT_EQ(actions.size(), qsizetype(menuLayout.lines.size()));
        for (std::size_t i = 0; i < menuLayout.lines.size(); ++i) {
            const MenuLine &line = menuLayout.lines[i];
            QAction *action = actions.at(qsizetype(i));
            SCOPED_TRACE(line.name);
            if (action->menu())
                EXPECT_EQ(action->menu()->objectName(), QLatin1String(line.name));
            else
                EXPECT_EQ(action->objectName(), QLatin1String(line.name));
            if (qstrcmp(line.caption, "-") == 0) {
                EXPECT_TRUE(action->isSeparator());
                continue;
            }
            EXPECT_FALSE(action->isSeparator());
            EXPECT_EQ(action->text(), QLatin1String(line.caption));
            EXPECT_EQ(action->shortcut(), line.shortcut);
            EXPECT_TRUE(action->isEnabled());
            EXPECT_TRUE(action->isVisible());
        }
    }
}

TEST_F(MainWindowMenus, CheckMarkStaysOnEnglish)
{
    start();
    QAction *english = action("ENGLISHLANGUAGE");
    QAction *dutch = action("DUTCHLANGUAGE");
    EXPECT_TRUE(english->isChecked());
    EXPECT_FALSE(dutch->isChecked());
    english->trigger();
    dutch->trigger();
    english->trigger();
    EXPECT_TRUE(english->isChecked());
    EXPECT_FALSE(dutch->isChecked());
}

TEST_F(MainWindowCommands, EveryButtonAndMenuItemReachesItsOwnHandler)
{
    for (const CommandSource &c : Commands) {
        SCOPED_TRACE(c.source);
        start();
        watchCommands();
        commands.clear();
        if (c.isButton)
            click(c.source);
        else
            trigger(c.source);
        ASSERT_FALSE(commands.isEmpty()) << "reaches no handler";
        EXPECT_EQ(commands.join(QLatin1Char(' ')).toStdString(), c.handler);
        if (ChildWindow *child = window().openChild())
            child->close();
    }
}

TEST_F(MainWindowCommands, ShortcutsWorkFromAnywhereInTheEnabledWindow)
{
    struct Shortcut {
        int key;
        const char *handler;
    };
    const Shortcut shortcuts[] = {{Qt::Key_O, "OPENINIFILE_Click"}, {Qt::Key_S, "SAVEFILE_Click"}, {Qt::Key_X, "EXIT_Click"}};
    for (const Shortcut &s : shortcuts) {
        for (const char *focus : {"Movies", "PlayButton"}) {
            SCOPED_TRACE(std::string(s.handler) + " from " + focus);
            start();
            watchCommands();
            commands.clear();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
            auto *target = window().findChild<QWidget *>(QLatin1String(focus));
            target->setFocus();
            QTest::keyClick(target, Qt::Key(s.key), Qt::ControlModifier);
            EXPECT_EQ(commands.join(QLatin1Char(' ')).toStdString(), s.handler);
        }
    }
    // Ctrl+X is no clipboard command here: the program ends.
    EXPECT_FALSE(window().isVisible());
}

TEST_F(MainWindowCommands, WhileAChildWindowIsOpenTheMainWindowIgnoresClicksKeysAndShortcuts)
{
    start();
    watchCommands();
    window().openChildWindow(new ChildWindow(window(), 200, 100));
    ASSERT_FALSE(window().isEnabled());

    // Even if the window system hands the main window the activation.
    window().activateWindow();
    QApplication::processEvents();
    for (int key : {Qt::Key_O, Qt::Key_S, Qt::Key_X})
        QTest::keyClick(&window(), Qt::Key(key), Qt::ControlModifier);
    for (const char *name : Buttons)
        QTest::mouseClick(button(name), Qt::LeftButton);
    QTest::keyClick(movies(), Qt::Key_Down);

    EXPECT_TRUE(commands.isEmpty()) << commands.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(movies()->currentIndex(), -1);
    EXPECT_TRUE(window().isVisible());
    window().openChild()->close();
}

namespace {

// Starts the event loop, does what quits, and reports whether the loop
// ended by itself (0) or had to be stopped after a while (1).
int runUntilQuit(const std::function<void()> &quit)
{
    QTimer doIt;
    doIt.setSingleShot(true);
    QObject::connect(&doIt, &QTimer::timeout, quit);
    doIt.start(0);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(5000);
    return QApplication::exec();
}

}  // namespace

TEST_F(MainWindowCommands, QuitExitCtrlXAndTheCloseBoxEndTheProgramWithoutAsking)
{
    struct Way {
        const char *what;
        std::function<void()> quit;
    };
    const Way ways[] = {
        {"Q U I T", [this] { click("QuitButton"); }},
        {"File > Exit", [this] { trigger("EXIT"); }},
        {"Ctrl+X", [this] { QTest::keyClick(movies(), Qt::Key_X, Qt::ControlModifier); }},
        {"close box", [this] { window().windowHandle()->close(); }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.what);
        start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        movies()->setFocus();
        // A change that was never written.
        label("tempmoviename")->setText(QStringLiteral("Unsaved"));
        label("tempmoviecd")->setText(QStringLiteral("DISC1"));
        label("tempmovielocation")->setText(QStringLiteral("MOVIES\\NEW.AVI"));
        window().openChildWindow(new ChildWindow(window(), 100, 100));
        window().openChild()->close();
        ASSERT_EQ(project().TitleCount.toStdString(), "1");

        EXPECT_EQ(runUntilQuit(way.quit), 0) << "the program did not end";
        EXPECT_FALSE(window().isVisible());
        EXPECT_TRUE(fake.messages.shown.empty()) << "asked something";
        EXPECT_TRUE(fake.dialogs.uses.empty());
        EXPECT_TRUE(QDir(m_folder.path()).isEmpty()) << "wrote something";
    }
}
