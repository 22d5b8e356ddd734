#pragma once

// Every window of the program is described once, as data: its caption, its
// client size at 96 dpi, its default font, its keys, the table of its
// controls and, for the main window, the table of its menus. The front ends
// (Qt widgets on Linux, the system's own controls on Windows) build the
// windows from these tables and nothing else; the handlers never see how.
#include <span>
#include <string_view>
#include <vector>

namespace vidorun::ui {

enum class ControlKind {
    Button,        // a push button
    Label,         // one line of text; text that does not fit is cut off
    TextBox,       // one line of editable text
    DropDownList,  // a drop-down list the user can only choose from
    ListBox,       // a list with one line selectable
    Picture,       // a picture frame
    Line,          // a horizontal rule, `height` pixels thick
};

enum class Align { Left, Centre, Right };

struct Font {
    std::string_view face;
    double points = 0;  // 0: the window's font
    bool bold = false;
    bool underline = false;
};

struct Colour {
    unsigned char red = 0, green = 0, blue = 0;
};

// The pictures that are part of the program itself.
enum class BuiltInPicture { None, ProgramIcon, CodecLogo };

struct Control {
    std::string_view name = {};
    ControlKind kind = ControlKind::Label;
    std::string_view caption = {};  // a label's or button's text as designed
    int left = 0, top = 0, width = 0, height = 0;
    // The order in which Tab visits the controls that take the focus;
    // -1 for a control that has none (lines, pictures).
    int tabIndex = -1;
    Font font = {};  // an empty face: the window's font
    Align align = Align::Left;
    const Colour *textColour = nullptr;  // the system's text colour when unset
    bool enabled = true;
    bool visible = true;
    bool wordWrap = false;         // a label whose text wraps onto further lines
    // A label as wide and as high as its text where the system's font runs
    // larger than the one it was laid out with, about the designed left
    // edge, centre or right edge as it is aligned.
    bool growsWithText = false;
    bool border = false;           // a picture frame with a single-line border
    bool scaled = false;           // a picture scaled to fill its frame
    BuiltInPicture picture = BuiltInPicture::None;
    std::string_view accessibleName = {};         // what a screen reader calls a control without a caption
    std::string_view accessibleDescription = {};  // and what it says of it
    std::string_view labels = {};          // the control this label names (its access key focuses it)
};

enum class MenuEntry {
    Menu,       // a menu on the bar, or a submenu; the entries below it at the next level belong to it
    Item,       // a command
    Separator,  // a line between items
};

struct MenuItem {
    int level = 0;  // 0: on the menu bar; 1: in a menu; 2: in a submenu
    MenuEntry entry = MenuEntry::Item;
    std::string_view name = {};
    std::string_view caption = {};   // "&" marks the access key
    std::string_view shortcut = {};  // "Ctrl+O"; empty for none
    bool checked = false;       // a check mark that never moves
};

// What Enter and Esc do in a window.
enum class EnterKey {
    Nothing,               // Enter does nothing at all
    PressesFocusedButton,  // Enter presses the button that has the focus, and nothing else
    PressesDefault,        // Enter presses the default button, wherever the focus is
};

struct Window {
    std::string_view name;
    std::string_view caption;
    int clientWidth = 0, clientHeight = 0;
    Font font;
    std::span<const Control> controls;
    std::span<const MenuItem> menu = {};  // the main window's only
    bool main = false;  // the program's own window (taskbar entry, minimise box, icon); else a child window
    EnterKey enter = EnterKey::Nothing;
    std::string_view defaultButton = {};  // pressed by Enter, when `enter` says so
    std::string_view cancelButton = {};   // pressed by Esc; empty: Esc does nothing
    std::string_view firstFocus = {};     // the control that has the focus when the window opens

    // The control named `name`, or nothing.
    const Control *control(std::string_view name) const
    {
        for (const Control &c : controls) {
            if (c.name == name)
                return &c;
        }
        return nullptr;
    }
};

// Whether a control of this kind takes the keyboard focus (and so has a
// place in the tab order).
bool takesFocus(ControlKind kind);
// The window's controls that take the focus, in their tab order.
std::vector<const Control *> tabOrder(const Window &window);

}  // namespace vidorun::ui
