#pragma once

// A described window's controls and menu bar built as Qt widgets, at the
// description's pixels, with its names, fonts and keys.
#include "ui/window_description.h"

#include <QFont>
#include <QString>

#include <span>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QLabel;
class QMenuBar;
class QWidget;

namespace vidorun::ui::qt {

// Texts are UTF-8 at the interface and QString inside.
QString toQString(std::string_view utf8);
std::string toUtf8(const QString &text);

// A description's font: its face and, where given, size, weight and
// underline; the attributes it leaves unset come from the parent widget.
QFont toQFont(const Font &font);

// Sets a window's caption to exactly `text`. Qt reads "[*]" in a caption as
// the place of its "modified" mark and drops it; doubled, it shows as written.
void setCaptionAsWritten(QWidget *window, const QString &text);

struct BuiltControl {
    const Control *control;
    QWidget *widget;
};

// Makes every control of `window` as a child of `parent`, in the
// description's order, and sets the labels' buddies, the tab order, the
// default button and the first focus. Picture frames and lines lie under
// the other controls. The built-in pictures are not loaded yet.
std::vector<BuiltControl> buildControls(QWidget *parent, const Window &window);

// Loads the built-in pictures into their frames: last, once the window is
// otherwise built, as the first picture waits for the list of image plugins.
void showBuiltInPictures(const std::vector<BuiltControl> &controls);

// A label that grows with its text is as large as its text, never smaller
// than designed, and keeps the edge or centre it is aligned on.
void fitToText(QLabel *label, const Control &control);

// The menu bar from the description's table. Each command is a QAction
// named as its entry; menus and separators are named too.
struct MenuCommand {
    QAction *action;
    std::string_view name;
};
std::vector<MenuCommand> buildMenuBar(QMenuBar *bar, std::span<const MenuItem> menu);

}  // namespace vidorun::ui::qt
