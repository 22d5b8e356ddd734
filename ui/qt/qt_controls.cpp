#include "ui/qt/qt_controls.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringDecoder>

#include <algorithm>

namespace vidorun::ui::qt {

QString toQString(std::string_view utf8)
{
    // Every character stays, a leading U+FEFF too, which QString::fromUtf8
    // would take for a byte-order mark and drop: a title that begins with
    // one is shown with it.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
}

std::string toUtf8(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QFont toQFont(const Font &font)
{
    QFont qfont(toQString(font.face));
    if (font.points > 0)
        qfont.setPointSizeF(font.points);
    qfont.setBold(font.bold);
    if (font.underline)
        qfont.setUnderline(true);
    return qfont;
}

void setCaptionAsWritten(QWidget *window, const QString &text)
{
    QString escaped = text;
    window->setWindowTitle(escaped.replace(QLatin1String("[*]"), QLatin1String("[*][*]")));
}

namespace {

QColor toQColor(const Colour &colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// A label keeps its designed size: text that does not fit is cut off,
// unless it wraps or grows with its text. It shows its text as written and
// is never a link.
QLabel *makeLabel(QWidget *parent, const Control &c)
{
    auto *label = new QLabel(toQString(c.caption), parent);
    label->setWordWrap(false);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    switch (c.align) {
    case Align::Left:
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        break;
    case Align::Centre:
        // A centred text that wraps sits in the middle of its box both ways.
        label->setAlignment(c.wordWrap ? Qt::AlignCenter : Qt::AlignHCenter | Qt::AlignTop);
        break;
    case Align::Right:
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        break;
    }
    if (c.wordWrap)
        label->setWordWrap(true);
    if (c.textColour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, toQColor(*c.textColour));
        label->setPalette(palette);
    }
    return label;
}

QLabel *makePicture(QWidget *parent, const Control &c)
{
    auto *frame = new QLabel(parent);
    frame->setWordWrap(false);
    frame->setTextFormat(Qt::PlainText);
    frame->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (c.border) {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
    }
    if (c.scaled)
        frame->setScaledContents(true);
    return frame;
}

// A rule filled with its colour, without a frame of its own.
QFrame *makeLine(QWidget *parent, const Control &c)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::NoFrame);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, c.textColour ? toQColor(*c.textColour) : QColor(Qt::black));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
}

QWidget *makeControl(QWidget *parent, const Control &c)
{
    switch (c.kind) {
    case ControlKind::Button: {
        auto *button = new QPushButton(toQString(c.caption), parent);
        // Qt would make the first button of a dialog its default button;
        // a window names its own default, if it has one.
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::Label:
        return makeLabel(parent, c);
    case ControlKind::TextBox:
        return new QLineEdit(parent);
    case ControlKind::DropDownList: {
        auto *list = new QComboBox(parent);
        list->setEditable(false);
        return list;
    }
    case ControlKind::ListBox: {
        auto *list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        return list;
    }
    case ControlKind::Picture:
        return makePicture(parent, c);
    case ControlKind::Line:
        return makeLine(parent, c);
    }
    return new QWidget(parent);
}

QWidget *widgetNamed(const std::vector<BuiltControl> &controls, std::string_view name)
{
    for (const BuiltControl &built : controls) {
        if (built.control->name == name)
            return built.widget;
    }
    return nullptr;
}

}  // namespace

void fitToText(QLabel *label, const Control &control)
{
    const QSize text = label->fontMetrics().size(0, label->text());
    const int width = std::max(control.width, text.width() + 1);
    const int height = std::max(control.height, text.height());
    int left = control.left;
    if (control.align == Align::Centre)
        left -= (width - control.width) / 2;
    else if (control.align == Align::Right)
        left -= width - control.width;
    label->setGeometry(left, control.top, width, height);
}

std::vector<BuiltControl> buildControls(QWidget *parent, const Window &window)
{
    std::vector<BuiltControl> built;
    built.reserve(window.controls.size());
    for (const Control &c : window.controls) {
        QWidget *widget = makeControl(parent, c);
        widget->setObjectName(toQString(c.name));
        widget->setGeometry(c.left, c.top, c.width, c.height);
        if (!c.font.face.empty())
            widget->setFont(toQFont(c.font));
        if (!c.accessibleName.empty())
            widget->setAccessibleName(toQString(c.accessibleName));
        if (!c.accessibleDescription.empty())
            widget->setAccessibleDescription(toQString(c.accessibleDescription));
        if (c.growsWithText && c.kind == ControlKind::Label)
            fitToText(static_cast<QLabel *>(widget), c);
        if (!c.enabled)
            widget->setEnabled(false);
        if (!c.visible)
            widget->hide();
        built.push_back({&c, widget});
    }

    // Frames and rules lie under whatever is placed over them.
    for (auto it = built.rbegin(); it != built.rend(); ++it) {
        if (it->control->kind == ControlKind::Picture || it->control->kind == ControlKind::Line)
            it->widget->lower();
    }

    for (const BuiltControl &b : built) {
        if (b.control->kind == ControlKind::Label && !b.control->labels.empty()) {
            if (QWidget *buddy = widgetNamed(built, b.control->labels))
                static_cast<QLabel *>(b.widget)->setBuddy(buddy);
        }
    }

    const std::vector<const Control *> focusable = tabOrder(window);
    for (std::size_t i = 1; i < focusable.size(); ++i)
        QWidget::setTabOrder(widgetNamed(built, focusable[i - 1]->name), widgetNamed(built, focusable[i]->name));

    if (window.enter == EnterKey::PressesDefault) {
        if (auto *button = qobject_cast<QPushButton *>(widgetNamed(built, window.defaultButton)))
            button->setDefault(true);
    }
    if (QWidget *first = widgetNamed(built, window.firstFocus))
        first->setFocus();
    return built;
}

void showBuiltInPictures(const std::vector<BuiltControl> &controls)
{
    for (const BuiltControl &b : controls) {
        if (b.control->kind != ControlKind::Picture)
            continue;
        switch (b.control->picture) {
        case BuiltInPicture::None:
            break;
        case BuiltInPicture::ProgramIcon:
            static_cast<QLabel *>(b.widget)->setPixmap(QPixmap(QStringLiteral(":/vidorun/vidorun.png")));
            break;
        case BuiltInPicture::CodecLogo:
            static_cast<QLabel *>(b.widget)->setPixmap(QPixmap(QStringLiteral(":/vidorun/codeclogo.jpg")));
            break;
        }
    }
}

std::vector<MenuCommand> buildMenuBar(QMenuBar *bar, std::span<const MenuItem> menu)
{
    std::vector<MenuCommand> commands;
    // The menu open at each level: [0] the bar's current menu, [1] a submenu.
    std::vector<QMenu *> open;
    for (const MenuItem &item : menu) {
        const auto level = std::size_t(item.level);
        if (level > open.size())
            continue;  // an entry under no menu
        open.resize(level);
        if (item.entry == MenuEntry::Menu) {
            QMenu *m = level == 0 ? bar->addMenu(toQString(item.caption)) : open.back()->addMenu(toQString(item.caption));
            m->setObjectName(toQString(item.name));
            open.push_back(m);
            continue;
        }
        if (level == 0)
            continue;  // the bar holds menus only
        QMenu *parent = open.back();
        if (item.entry == MenuEntry::Separator) {
            parent->addSeparator()->setObjectName(toQString(item.name));
            continue;
        }
        QAction *action = parent->addAction(toQString(item.caption));
        action->setObjectName(toQString(item.name));
        if (!item.shortcut.empty())
            action->setShortcut(QKeySequence(toQString(item.shortcut), QKeySequence::PortableText));
        if (item.checked) {
            // A fixed check mark: choosing the item never moves it.
            action->setCheckable(true);
            action->setChecked(true);
            QObject::connect(action, &QAction::toggled, action, [action](bool) {
                const QSignalBlocker block(action);
                action->setChecked(true);
            });
        }
        commands.push_back({action, item.name});
    }
    return commands;
}

}  // namespace vidorun::ui::qt
