#include "windows/form_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vidorun {

QFont sansSerifFont(qreal points, bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setCaption(QWidget *window, const QString &text)
{
    QString escaped = text;
    window->setWindowTitle(escaped.replace(QLatin1String("[*]"), QLatin1String("[*][*]")));
}

QLabel *placeLabel(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(x, y, w, h);
    // A label keeps its designed size: text that does not fit is cut off.
    label->setWordWrap(false);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton *placeButton(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, y, w, h);
    // Qt would make the first of these the dialog's default button; each
    // window names its own default, if it has one.
    button->setAutoDefault(false);
    return button;
}

QLineEdit *placeTextBox(QWidget *parent, const char *name, const QString &accessibleName, int x, int y, int w, int h)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(x, y, w, h);
    box->setAccessibleName(accessibleName);
    return box;
}

bool pressFocusedButton(QWidget *window)
{
    auto *button = qobject_cast<QPushButton *>(window->focusWidget());
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

}  // namespace vidorun
