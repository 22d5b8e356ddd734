#pragma once

#include <QFont>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vidorun {

// The windows' controls, placed at fixed client-area pixels (96 dpi)
// and named as the program names them.
QFont sansSerifFont(qreal points = 8.25, bool bold = false);

QLabel *placeLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h);
QPushButton *placeButton(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h);
QLineEdit *placeTextBox(QWidget *parent, const char *name, const QString &accessibleName, int x, int y, int w, int h);

// Sets a window's caption to exactly `text`. Qt reads "[*]" in a caption as
// the place of its "modified" mark and drops it; doubled, it shows as written.
void setCaption(QWidget *window, const QString &text);

// Enter on a focused button presses it, as on any dialog of the system. The
// windows without a default button use this for Enter and nothing more.
bool pressFocusedButton(QWidget *window);

}  // namespace vidorun
