// The main window as laid out: controls, fonts, focus, menus, the command
// map, the shortcuts and quitting.
#include "support/main_window_fixture.h"
#include "ui/descriptions.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

struct ControlSpot {
    const char *name;
    std::vector<int> geometry;  // left, top, width, height
    const char *caption;  // nullptr: a picture or a list, no caption
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
    const char *shortcut;
};

struct MenuLayout {
    const char *name;
    const char *caption;
    std::vector<MenuLine> lines;
};

const MenuLayout Menus[] = {
    {"FileMenu",
     "&File",
     {{"OPENINIFILE", "&Read 'Autorun.ini' file from disk", "Ctrl+O"},
      {"SAVEFILE", "&Write 'Autorun.ini' file to disk", "Ctrl+S"},
      {"separator1", "-", ""},
      {"EXIT", "E&xit", "Ctrl+X"}}},
    {"MOVIEMENU",
     "&Movie",
     {{"ADDMOVIE", "Add movie", ""}, {"REMOVEMOVIE", "Remove movie", ""}, {"nothing200", "-", ""}, {"PLAYMOVIE", "Play", ""}}},
    {"INSTALLMENU", "&Install", {{"INSTALLPLAYER", "...Player", ""}, {"INSTALLCODEC", "...Codec", ""}}},
    {"SETTINGSMENU",
     "&Settings",
     {{"CURRENTSETTINGS", "Current settings", ""},
      {"nothingagain", "-", ""},
      {"VIDORUNTITLE", "Vidorun project title", ""},
      {"SELECTCOVER", "Select coverpicture", ""},
      {"PLAYERLOCATION", "Select player", ""},
      {"CODECLOCATION", "Select codec", ""},
      {"anothernothing", "-", ""},
      {"LANGUAGEMENU", "Language", ""}}},
    {"LANGUAGEMENU", "Language", {{"ENGLISHLANGUAGE", "English", ""}, {"DUTCHLANGUAGE", "Dutch", ""}}},
    {"HELPMENU", "&Help", {{"HELPME", "Vidorun Help Topics", ""}, {"ABOUTSCREEN", "About Vidorun", ""}}},
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

std::string joined(const std::vector<std::string> &words)
{
    std::string text;
    for (const std::string &word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

class MainWindowLayout : public MainWindowTest {};
class MainWindowMenus : public MainWindowTest {};
class MainWindowCommands : public MainWindowTest {
protected:
    std::vector<std::string> commands;

    void watchCommands()
    {
        window().setCommandObserver([this](const std::string &name) { commands.push_back(name); });
    }
};

}  // namespace

// The frame itself (fixed border, icon, no maximise box) is the front
// end's: qt_front_end_test.cpp checks it against the description.
TEST_F(MainWindowLayout, WindowHasItsCaptionIconAndFixedClientArea)
{
    start();
    EXPECT_EQ(view().caption(), "Vidorun");
    EXPECT_TRUE(ui.isShown(view()));
    EXPECT_TRUE(ui.isActive(view()));
    EXPECT_TRUE(ui::MainWindow.main) << "the program's own window, with its icon and taskbar entry";
    EXPECT_EQ(ui::MainWindow.clientWidth, 586);
    EXPECT_EQ(ui::MainWindow.clientHeight, 346);
}

TEST_F(MainWindowLayout, EveryControlSitsWhereTheLayoutPutsIt)
{
    start();
    EXPECT_EQ(ui::MainWindow.controls.size(), std::size(Controls));
    for (const ControlSpot &spot : Controls) {
        SCOPED_TRACE(spot.name);
        const ui::Control *control = ui::MainWindow.control(spot.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ((std::vector<int>{control->left, control->top, control->width, control->height}), spot.geometry);
        if (spot.caption) {
            EXPECT_EQ(view().text(spot.name), spot.caption);
        }
        EXPECT_TRUE(view().isEnabled(spot.name));
    }
}

// That the system shows them with substitutes that exist is the front
// end's (qt_front_end_test.cpp).
TEST_F(MainWindowLayout, FontsAreTheDesignedOnesWithSubstitutesThatExist)
{
    struct Expected {
        const char *name;
        const char *family;
        double points;
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
        const ui::Control *control = ui::MainWindow.control(e.name);
        ASSERT_NE(control, nullptr);
        const ui::Font font = control->font.face.empty() ? ui::MainWindow.font : control->font;
        EXPECT_EQ(font.face, e.family);
        EXPECT_DOUBLE_EQ(font.points, e.points);
        EXPECT_EQ(font.bold, e.bold);
        EXPECT_FALSE(font.underline);
    }
}

TEST_F(MainWindowLayout, NoCaptionIsClipped)
{
    start();
    EXPECT_EQ(ui.clippedCaptions(view()), std::vector<std::string>{});

    // The longest count the window shows, for a full project.
    view().setText("TotalMoviesText", "Total number of movies: 100");
    EXPECT_EQ(ui.clippedCaptions(view()), std::vector<std::string>{});

    // The Eject button's other caption, shown while the tray is open.
    view().setText("EjectButton", "&CLOSE");
    EXPECT_EQ(ui.clippedCaptions(view()), std::vector<std::string>{});
}

// Where the text lies and how it wraps on the screen is the front end's
// (qt_front_end_test.cpp).
TEST_F(MainWindowLayout, PlaceholderLiesOverTheMiddleOfTheCoverOnTwoCentredLines)
{
    start();
    EXPECT_TRUE(view().isVisible("NoPictureText"));
    const ui::Control &text = *ui::MainWindow.control("NoPictureText");
    const ui::Control &cover = *ui::MainWindow.control("CoverPicture");
    EXPECT_TRUE(text.wordWrap);
    EXPECT_EQ(text.align, ui::Align::Centre);
    EXPECT_LT(std::abs((text.left + text.width / 2) - (cover.left + cover.width / 2)), 8);
    EXPECT_LT(std::abs((text.top + text.height / 2) - (cover.top + cover.height / 2)), 30);
    EXPECT_FALSE(ui.showsPicture(view(), "CoverPicture"));
}

TEST_F(MainWindowLayout, PicturesAreBuiltInAndNamedForAccessibility)
{
    start();
    EXPECT_EQ(ui.shownPictureSize(view(), "CodecLogo"), (PictureSize{72, 56}));
    const ui::Control &logo = *ui::MainWindow.control("CodecLogo");
    EXPECT_FALSE(logo.scaled) << "the logo is shown unscaled";
    EXPECT_FALSE(logo.accessibleName.empty());

    const ui::Control &cover = *ui::MainWindow.control("CoverPicture");
    EXPECT_TRUE(cover.scaled) << "the cover fills its frame";
    EXPECT_TRUE(cover.border);
    EXPECT_FALSE(cover.accessibleName.empty());
    const ui::Control &movies = *ui::MainWindow.control("Movies");
    EXPECT_FALSE(movies.accessibleName.empty());
    EXPECT_EQ(movies.kind, ui::ControlKind::DropDownList) << "the list takes no typing";
}

TEST_F(MainWindowLayout, TransferFieldsExistButAreNeverShown)
{
    start();
    for (const char *name : TransferFields) {
        SCOPED_TRACE(name);
        EXPECT_EQ(view().text(name), "empty");
        EXPECT_FALSE(view().isVisible(name));
        window().setTransferField(name, "something pending");
        EXPECT_EQ(view().text(name), "something pending");
        EXPECT_FALSE(view().isVisible(name));
    }
}

TEST_F(MainWindowLayout, ListHasTheFocusAndTabVisitsTheButtonsInOrder)
{
    start();
    EXPECT_EVENTUALLY_EQ(view().focused(), "Movies");
    for (const char *name : Buttons) {
        press(Key::Tab);
        EXPECT_EVENTUALLY_EQ(view().focused(), name);
    }
    press(Key::Tab);
    EXPECT_EVENTUALLY_EQ(view().focused(), "Movies");
}

// The menu bar the front end builds is the description's
// (qt_front_end_test.cpp).
TEST_F(MainWindowMenus, MenuBarHoldsEveryItemInOrder)
{
    std::vector<std::string> titles;
    for (const ui::MenuItem &item : ui::MainWindow.menu) {
        if (item.level == 0)
            titles.emplace_back(item.caption);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Movie", "&Install", "&Settings", "&Help"}));

    for (const MenuLayout &menuLayout : Menus) {
        SCOPED_TRACE(menuLayout.name);
        const auto &menu = ui::MainWindow.menu;
        std::size_t at = 0;
        while (at < menu.size() && menu[at].name != menuLayout.name)
            ++at;
        ASSERT_LT(at, menu.size());
        EXPECT_EQ(menu[at].entry, ui::MenuEntry::Menu);
        EXPECT_EQ(menu[at].caption, menuLayout.caption);
        std::vector<const ui::MenuItem *> lines;
        for (std::size_t i = at + 1; i < menu.size() && menu[i].level > menu[at].level; ++i) {
            if (menu[i].level == menu[at].level + 1)
                lines.push_back(&menu[i]);
        }
        ASSERT_EQ(lines.size(), menuLayout.lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const MenuLine &line = menuLayout.lines[i];
            SCOPED_TRACE(line.name);
            EXPECT_EQ(lines[i]->name, line.name);
            EXPECT_EQ(lines[i]->entry == ui::MenuEntry::Separator, std::string(line.caption) == "-");
            EXPECT_EQ(lines[i]->caption, line.caption);
            EXPECT_EQ(lines[i]->shortcut, line.shortcut);
        }
    }
}

TEST_F(MainWindowMenus, CheckMarkStaysOnEnglish)
{
    start();
    EXPECT_TRUE(ui.isChecked(view(), "ENGLISHLANGUAGE"));
    EXPECT_FALSE(ui.isChecked(view(), "DUTCHLANGUAGE"));
    trigger("ENGLISHLANGUAGE");
    trigger("DUTCHLANGUAGE");
    trigger("ENGLISHLANGUAGE");
    EXPECT_TRUE(ui.isChecked(view(), "ENGLISHLANGUAGE"));
    EXPECT_FALSE(ui.isChecked(view(), "DUTCHLANGUAGE"));
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
        ASSERT_FALSE(commands.empty()) << "reaches no handler";
        EXPECT_EQ(joined(commands), c.handler);
        if (child())
            ui.closeBox(childView());
    }
}

TEST_F(MainWindowCommands, ShortcutsWorkFromAnywhereInTheEnabledWindow)
{
    struct Shortcut {
        Key key;
        const char *handler;
    };
    const Shortcut shortcuts[] = {{Key::CtrlO, "OPENINIFILE_Click"}, {Key::CtrlS, "SAVEFILE_Click"}, {Key::CtrlX, "EXIT_Click"}};
    for (const Shortcut &s : shortcuts) {
        for (const char *focus : {"Movies", "PlayButton"}) {
            SCOPED_TRACE(std::string(s.handler) + " from " + focus);
            start();
            watchCommands();
            commands.clear();
            view().setFocus(focus);
            ASSERT_TRUE(ui.waitFor([&] { return view().focused() == focus; })) << view().focused();
            press(s.key);
            EXPECT_EQ(joined(commands), s.handler);
        }
    }
    // Ctrl+X is no clipboard command here: the program ends.
    EXPECT_FALSE(ui.isShown(view()));
}

TEST_F(MainWindowCommands, WhileAChildWindowIsOpenTheMainWindowIgnoresClicksKeysAndShortcuts)
{
    start();
    watchCommands();
    trigger("ABOUTSCREEN");
    ASSERT_NE(child(), nullptr);
    ASSERT_FALSE(view().isWindowEnabled());
    commands.clear();

    for (Key key : {Key::CtrlO, Key::CtrlS, Key::CtrlX, Key::Down})
        press(key);
    for (const char *name : Buttons)
        click(name);
    trigger("EXIT");

    EXPECT_EQ(joined(commands), "");
    EXPECT_EQ(view().currentIndex("Movies"), -1);
    EXPECT_TRUE(ui.isShown(view()));
    EXPECT_NE(child(), nullptr);
    clickChild("cmdOK");
}

TEST_F(MainWindowCommands, QuitExitCtrlXAndTheCloseBoxEndTheProgramWithoutAsking)
{
    struct Way {
        const char *what;
        std::function<void()> quit;
    };
    const Way ways[] = {
        {"Q U I T", [this] { click("QuitButton"); }},
        {"File > Exit", [this] { trigger("EXIT"); }},
        {"Ctrl+X", [this] { press(Key::CtrlX); }},
        {"close box", [this] { ui.closeBox(view()); }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.what);
        start();
        view().setFocus("Movies");
        // A change that was never written.
        trigger("ABOUTSCREEN");
        window().setTransferField("tempmoviename", "Unsaved");
        window().setTransferField("tempmoviecd", "DISC1");
        window().setTransferField("tempmovielocation", "MOVIES\\NEW.AVI");
        clickChild("cmdOK");
        ASSERT_EQ(project().TitleCount, "1");

        EXPECT_TRUE(ui.programEndsAfter(way.quit)) << "the program did not end";
        EXPECT_FALSE(ui.isShown(view()));
        EXPECT_TRUE(fake.messages.shown.empty()) << "asked something";
        EXPECT_TRUE(fake.dialogs.uses.empty());
        EXPECT_EQ(folderEntries(m_folder.path()), std::vector<std::string>{}) << "wrote something";
    }
}
