// The windows as designed: positions and sizes are client-area pixels at
// 96 dpi; tab indexes count from 0 in the order Tab visits the controls.
#include "ui/descriptions.h"

#include <algorithm>
#include <array>

namespace vidorun::ui {

namespace {

constexpr Font SansSerif{"MS Sans Serif", 8.25};
constexpr Font SansSerifBold{"MS Sans Serif", 8.25, true};
constexpr Colour Black{0, 0, 0};
constexpr Colour Blue{0, 0, 255};
constexpr Colour Grey{128, 128, 128};

using enum ControlKind;

// --- the main window -------------------------------------------------------

constexpr std::array MainControls{
    Control{.name = "Movies", .kind = DropDownList, .left = 272, .top = 40, .width = 265, .height = 21,
            .tabIndex = 0, .accessibleName = "Movies"},
    Control{.name = "About", .kind = Button, .caption = "I N F O", .left = 264, .top = 144, .width = 65,
            .height = 25, .tabIndex = 1, .font = SansSerifBold},
    Control{.name = "EjectButton", .kind = Button, .caption = "E J E C T", .left = 336, .top = 144, .width = 65,
            .height = 25, .tabIndex = 2, .font = SansSerifBold},
    Control{.name = "PlayButton", .kind = Button, .caption = "P L A Y", .left = 408, .top = 144, .width = 65,
            .height = 25, .tabIndex = 3, .font = SansSerifBold},
    Control{.name = "QuitButton", .kind = Button, .caption = "Q U I T", .left = 480, .top = 144, .width = 65,
            .height = 25, .tabIndex = 4, .font = SansSerifBold},
    Control{.name = "MPlayer", .kind = Button, .caption = "I N S T A L L    P L A Y E R", .left = 264, .top = 208,
            .width = 281, .height = 25, .tabIndex = 5, .font = SansSerifBold},
    Control{.name = "Codec_Button", .kind = Button, .caption = "I N S T A L L    C O D E C", .left = 264,
            .top = 240, .width = 281, .height = 25, .tabIndex = 6, .font = SansSerifBold},
    Control{.name = "Label1", .kind = Label, .caption = "Please select your movie:", .left = 272, .top = 16,
            .width = 265, .height = 17, .tabIndex = 7, .font = {"Courier", 12}, .growsWithText = true,
            .labels = "Movies"},
    // The placeholder lies over the cover frame's middle.
    Control{.name = "NoPictureText", .kind = Label, .caption = "There is no picture loaded!", .left = 24,
            .top = 120, .width = 177, .height = 57, .tabIndex = 8, .font = {"MS Sans Serif", 18, true},
            .align = Align::Centre, .wordWrap = true},
    Control{.name = "TotalMoviesText", .kind = Label, .caption = "total number of movies:", .left = 448,
            .top = 328, .width = 137, .height = 17, .tabIndex = 9, .align = Align::Centre, .growsWithText = true},
    Control{.name = "CoverPicture", .kind = Picture, .left = 8, .top = 8, .width = 209, .height = 329,
            .border = true, .scaled = true, .accessibleName = "Cover picture"},
    Control{.name = "CodecLogo", .kind = Picture, .left = 488, .top = 272, .width = 72, .height = 56,
            .picture = BuiltInPicture::CodecLogo, .accessibleName = "Video codec logo",
            .accessibleDescription = "The movies need a video codec"},
    // The hidden transfer fields through which the Add and Remove windows
    // hand back; never shown.
    Control{.name = "tempmoviename", .kind = Label, .caption = TransferEmpty, .left = 16, .top = 256,
            .width = 185, .height = 17, .tabIndex = 10, .visible = false},
    Control{.name = "tempmoviecd", .kind = Label, .caption = TransferEmpty, .left = 16, .top = 272, .width = 193,
            .height = 17, .tabIndex = 11, .visible = false},
    Control{.name = "tempmovielocation", .kind = Label, .caption = TransferEmpty, .left = 16, .top = 288,
            .width = 193, .height = 17, .tabIndex = 12, .visible = false},
    Control{.name = "tempremovemovie", .kind = Label, .caption = TransferEmpty, .left = 16, .top = 216,
            .width = 193, .height = 17, .tabIndex = 13, .visible = false},
};

using enum MenuEntry;

constexpr std::array MainMenu{
    MenuItem{0, Menu, "FileMenu", "&File"},
    MenuItem{1, Item, "OPENINIFILE", "&Read 'Autorun.ini' file from disk", "Ctrl+O"},
    MenuItem{1, Item, "SAVEFILE", "&Write 'Autorun.ini' file to disk", "Ctrl+S"},
    MenuItem{1, Separator, "separator1", "-"},
    MenuItem{1, Item, "EXIT", "E&xit", "Ctrl+X"},
    MenuItem{0, Menu, "MOVIEMENU", "&Movie"},
    MenuItem{1, Item, "ADDMOVIE", "Add movie"},
    MenuItem{1, Item, "REMOVEMOVIE", "Remove movie"},
    MenuItem{1, Separator, "nothing200", "-"},
    MenuItem{1, Item, "PLAYMOVIE", "Play"},
    MenuItem{0, Menu, "INSTALLMENU", "&Install"},
    MenuItem{1, Item, "INSTALLPLAYER", "...Player"},
    MenuItem{1, Item, "INSTALLCODEC", "...Codec"},
    MenuItem{0, Menu, "SETTINGSMENU", "&Settings"},
    MenuItem{1, Item, "CURRENTSETTINGS", "Current settings"},
    MenuItem{1, Separator, "nothingagain", "-"},
    MenuItem{1, Item, "VIDORUNTITLE", "Vidorun project title"},
    MenuItem{1, Item, "SELECTCOVER", "Select coverpicture"},
    MenuItem{1, Item, "PLAYERLOCATION", "Select player"},
    MenuItem{1, Item, "CODECLOCATION", "Select codec"},
    MenuItem{1, Separator, "anothernothing", "-"},
    MenuItem{1, Menu, "LANGUAGEMENU", "Language"},
    // The check mark on English is fixed: choosing a language never moves it.
    MenuItem{2, Item, "ENGLISHLANGUAGE", "English", {}, true},
    MenuItem{2, Item, "DUTCHLANGUAGE", "Dutch"},
    MenuItem{0, Menu, "HELPMENU", "&Help"},
    MenuItem{1, Item, "HELPME", "Vidorun Help Topics"},
    MenuItem{1, Item, "ABOUTSCREEN", "About Vidorun"},
};

// --- Add movie ---------------------------------------------------------------

constexpr std::array AddMovieControls{
    Control{.name = "MovieTitleText", .kind = Label, .caption = "Movie Name:", .left = 8, .top = 16, .width = 81,
            .height = 17, .tabIndex = 0, .align = Align::Right, .labels = "MovieName"},
    Control{.name = "MovieName", .kind = TextBox, .left = 104, .top = 16, .width = 305, .height = 19,
            .tabIndex = 8, .accessibleName = "Movie Name"},
    Control{.name = "MovieLocationText", .kind = Label, .caption = "Located on:", .left = 8, .top = 32,
            .width = 81, .height = 17, .tabIndex = 1, .align = Align::Right, .labels = "MovieCD"},
    Control{.name = "MovieCD", .kind = TextBox, .left = 104, .top = 32, .width = 305, .height = 19,
            .tabIndex = 7, .accessibleName = "Located on"},
    Control{.name = "Label1", .kind = Label, .caption = "Location:", .left = 8, .top = 48, .width = 81,
            .height = 17, .tabIndex = 6, .align = Align::Right, .labels = "MovieLocation"},
    // The path can be typed only once a file has been chosen.
    Control{.name = "MovieLocation", .kind = TextBox, .left = 104, .top = 48, .width = 305, .height = 19,
            .tabIndex = 5, .enabled = false, .accessibleName = "Location"},
    Control{.name = "BrowseButton", .kind = Button, .caption = "Location...", .left = 176, .top = 80,
            .width = 73, .height = 25, .tabIndex = 2},
    Control{.name = "OKButton", .kind = Button, .caption = "OK", .left = 256, .top = 80, .width = 73,
            .height = 25, .tabIndex = 3},
    Control{.name = "CancelButton", .kind = Button, .caption = "Cancel", .left = 336, .top = 80, .width = 73,
            .height = 25, .tabIndex = 4},
};

// --- Remove movie ------------------------------------------------------------

constexpr std::array RemoveMovieControls{
    Control{.name = "SelectMovieText", .kind = Label, .caption = "Select the movie to remove from this project:",
            .left = 16, .top = 48, .width = 377, .height = 17, .tabIndex = 3, .labels = "RemoveMovieList"},
    Control{.name = "RemoveMovieList", .kind = ListBox, .left = 16, .top = 80, .width = 433, .height = 160,
            .tabIndex = 0, .accessibleName = "Movies in this project"},
    Control{.name = "RemoveButton", .kind = Button, .caption = "Remove", .left = 280, .top = 256, .width = 81,
            .height = 25, .tabIndex = 1},
    Control{.name = "CloseButton", .kind = Button, .caption = "Close", .left = 368, .top = 256, .width = 81,
            .height = 25, .tabIndex = 2},
};

// --- Current settings --------------------------------------------------------

// Captions end at x = 129; the values start at x = 136 and are designed with
// the text "Label1", which each opening overwrites.
constexpr Control settingCaption(std::string_view name, std::string_view caption, int top, int tabIndex)
{
    return {.name = name, .kind = Label, .caption = caption, .left = 8, .top = top, .width = 121, .height = 17,
            .tabIndex = tabIndex, .align = Align::Right};
}
constexpr Control settingValue(std::string_view name, int top, int tabIndex)
{
    return {.name = name, .kind = Label, .caption = "Label1", .left = 136, .top = top, .width = 457, .height = 17,
            .tabIndex = tabIndex};
}

constexpr std::array SettingsControls{
    settingCaption("autorunlocationtext", "location of autorun.ini:", 16, 1),
    settingValue("autorunlocation", 16, 2),
    settingCaption("currentlanguagetext", "current language:", 32, 3),
    settingValue("currentlanguage", 32, 4),
    settingCaption("coverpicturepathtext", "location of coverpicture:", 48, 5),
    settingValue("coverpicturepath", 48, 6),
    settingCaption("playerpathtext", "location of player:", 64, 7),
    settingValue("playerpath", 64, 8),
    settingCaption("codecpathtext", "location of codec:", 80, 9),
    settingValue("codecpath", 80, 10),
    Control{.name = "moviesinprojecttext", .kind = Label, .caption = "nr of movies in project:", .left = 16,
            .top = 96, .width = 113, .height = 17, .tabIndex = 11, .align = Align::Right},
    Control{.name = "Moviesinproject", .kind = Label, .caption = "Label1", .left = 136, .top = 96, .width = 201,
            .height = 17, .tabIndex = 12},
    settingCaption("versiontext", "this version of Vidorun:", 120, 13),
    settingValue("version", 120, 14),
    Control{.name = "CloseCMD", .kind = Button, .caption = "CLOSE", .left = 512, .top = 128, .width = 89,
            .height = 25, .tabIndex = 0},
};

// --- About -------------------------------------------------------------------

constexpr std::array AboutControls{
    Control{.name = "PicIcon", .kind = Picture, .left = 8, .top = 16, .width = 48, .height = 40, .scaled = true,
            .picture = BuiltInPicture::ProgramIcon, .accessibleName = "Vidorun icon"},
    Control{.name = "lblTitle", .kind = Label, .caption = "Vidorun", .left = 64, .top = 16, .width = 259,
            .height = 32, .tabIndex = 1, .font = {"MS Sans Serif", 13.5, true}, .textColour = &Black},
    Control{.name = "lblVersion", .kind = Label, .caption = "Version", .left = 64, .top = 52, .width = 259,
            .height = 15, .tabIndex = 2},
    Control{.name = "lblDescription", .kind = Label, .caption = "Made by the Vidorun developers", .left = 64,
            .top = 75, .width = 259, .height = 14, .tabIndex = 3, .font = {"MS Sans Serif", 8.25, false, true},
            .textColour = &Black},
    // Sized to its text: it widens where the system's font runs wider than
    // the one it was laid out with.
    Control{.name = "Bugreporttext", .kind = Label, .caption = "Bugs can be reported at", .left = 64, .top = 136,
            .width = 114, .height = 13, .tabIndex = 4, .growsWithText = true},
    // Plain blue text: the address is shown, not opened.
    Control{.name = "bugreportlink", .kind = Label, .caption = "https://vidorun.example/bugs", .left = 64,
            .top = 152, .width = 281, .height = 17, .tabIndex = 5, .textColour = &Blue},
    // A one-pixel grey rule from (6, 184) to (377, 184).
    Control{.name = "Line1", .kind = Line, .left = 6, .top = 184, .width = 372, .height = 1, .textColour = &Grey},
    Control{.name = "Label3", .kind = Label, .caption = "Warning: The use of this program is AT OWN RISK!!",
            .left = 16, .top = 208, .width = 257, .height = 17, .tabIndex = 6},
    Control{.name = "cmdOK", .kind = Button, .caption = "OK", .left = 283, .top = 208, .width = 84, .height = 23,
            .tabIndex = 0},
};

// --- the input box -----------------------------------------------------------

constexpr std::array InputBoxControls{
    Control{.name = "Prompt", .kind = Label, .left = 8, .top = 8, .width = 265, .height = 57, .tabIndex = 3,
            .wordWrap = true, .labels = "Answer"},
    Control{.name = "OKButton", .kind = Button, .caption = "OK", .left = 286, .top = 8, .width = 75, .height = 23,
            .tabIndex = 1},
    Control{.name = "CancelButton", .kind = Button, .caption = "Cancel", .left = 286, .top = 36, .width = 75,
            .height = 23, .tabIndex = 2},
    Control{.name = "Answer", .kind = TextBox, .left = 8, .top = 88, .width = 353, .height = 20, .tabIndex = 0},
};

}  // namespace

const Window MainWindow{
    .name = "VidorunMain",
    .caption = "Vidorun",
    .clientWidth = 586,
    .clientHeight = 346,
    .font = SansSerif,
    .controls = MainControls,
    .menu = MainMenu,
    .main = true,
    .firstFocus = "Movies",
};

// Neither a default nor a cancel button: Enter presses only a focused
// button (Browse, when the window opens), and Esc does nothing.
const Window AddMovieWindow{
    .name = "AddMovieForm",
    .caption = "add movie",
    .clientWidth = 416,
    .clientHeight = 124,
    .font = SansSerif,
    .controls = AddMovieControls,
    .enter = EnterKey::PressesFocusedButton,
    .firstFocus = "BrowseButton",
};

// Esc presses "Close", which removes nothing. Enter presses only a focused
// button: on the list it could as well mean "Remove", so it means neither.
const Window RemoveMovieWindow{
    .name = "RemoveMovieForm",
    .caption = "remove movie",
    .clientWidth = 466,
    .clientHeight = 298,
    .font = SansSerif,
    .controls = RemoveMovieControls,
    .enter = EnterKey::PressesFocusedButton,
    .cancelButton = "CloseButton",
    .firstFocus = "RemoveMovieList",
};

// The caption is always replaced before the window is shown.
const Window SettingsWindow{
    .name = "OptionsForm",
    .caption = "Vidorun ; current settings",
    .clientWidth = 613,
    .clientHeight = 159,
    .font = SansSerif,
    .controls = SettingsControls,
    .enter = EnterKey::PressesDefault,
    .defaultButton = "CloseCMD",
    .cancelButton = "CloseCMD",
    .firstFocus = "CloseCMD",
};

const Window AboutWindow{
    .name = "frmAbout",
    .caption = "About Vidorun",
    .clientWidth = 382,
    .clientHeight = 237,
    .font = SansSerif,
    .controls = AboutControls,
    .enter = EnterKey::PressesDefault,
    .defaultButton = "cmdOK",
    .cancelButton = "cmdOK",
    .firstFocus = "cmdOK",
};

// The caption and the prompt are the asker's.
const Window InputBoxWindow{
    .name = "InputBox",
    .caption = "",
    .clientWidth = 369,
    .clientHeight = 116,
    .font = SansSerif,
    .controls = InputBoxControls,
    .enter = EnterKey::PressesDefault,
    .defaultButton = "OKButton",
    .cancelButton = "CancelButton",
    .firstFocus = "Answer",
};

std::span<const Window *const> allWindows()
{
    static constexpr std::array<const Window *, 6> windows{&MainWindow,     &AddMovieWindow, &RemoveMovieWindow,
                                                           &SettingsWindow, &AboutWindow,    &InputBoxWindow};
    return windows;
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::Button || kind == ControlKind::TextBox || kind == ControlKind::DropDownList
           || kind == ControlKind::ListBox;
}

std::vector<const Control *> tabOrder(const Window &window)
{
    std::vector<const Control *> order;
    for (const Control &control : window.controls) {
        if (takesFocus(control.kind))
            order.push_back(&control);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Control *a, const Control *b) { return a->tabIndex < b->tabIndex; });
    return order;
}

}  // namespace vidorun::ui
