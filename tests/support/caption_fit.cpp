#include "support/caption_fit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>

#include <string>
#include <vector>

namespace vidorun::testing {

namespace {

// The caption as drawn: "&&" shows one ampersand, a single "&" only marks
// the access key.
QString withoutAccessKey(const QString &caption)
{
    QString shown;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption.at(i);
    }
    return shown;
}

std::string describe(const QWidget *control, const QString &caption)
{
    return (control->objectName() + QStringLiteral(" \"") + caption + QStringLiteral("\" in ")
            + control->window()->objectName())
        .toStdString();
}

using Clipped = std::vector<std::string>;

void checkButton(const QPushButton *button, Clipped &clipped)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = button->text();
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QFontMetrics metrics(button->font());
    const QString shown = withoutAccessKey(button->text());
    if (metrics.horizontalAdvance(shown) > room.width())
        clipped.push_back(describe(button, button->text()) + " (too wide)");
    if (metrics.height() > room.height())
        clipped.push_back(describe(button, button->text()) + " (too high)");
}

void checkLabel(const QLabel *label, Clipped &clipped)
{
    QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    if (label->indent() > 0)
        room.adjust(label->indent(), 0, 0, 0);

    const bool rich = label->textFormat() == Qt::RichText
        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    if (rich) {
#if QT_CONFIG(texthtmlparser)
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(label->text());
        if (label->wordWrap())
            document.setTextWidth(room.width());
        if (document.idealWidth() > room.width())
            clipped.push_back(describe(label, label->text()) + " (too wide)");
        if (document.size().height() > room.height())
            clipped.push_back(describe(label, label->text()) + " (too high)");
#else
        // A Qt that reads no HTML would show the tags.
        clipped.push_back(describe(label, label->text()) + " (rich text, shown with its tags)");
#endif
        return;
    }

    const QFontMetrics metrics(label->font());
    const QString shown = label->buddy() ? withoutAccessKey(label->text()) : label->text();
    if (label->wordWrap() || shown.contains(QLatin1Char('\n'))) {
        const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
        const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 10000), flags, shown);
        if (needed.width() > room.width())
            clipped.push_back(describe(label, shown) + " (a word longer than a line)");
        if (needed.height() > room.height())
            clipped.push_back(describe(label, shown) + " (wrapped lines)");
    } else {
        if (metrics.horizontalAdvance(shown) > room.width())
            clipped.push_back(describe(label, shown) + " (too wide)");
        // A single line may reach into the font's spare leading; its ink may not leave the label.
        if (metrics.tightBoundingRect(shown).height() > room.height())
            clipped.push_back(describe(label, shown) + " (too high)");
    }
}

}  // namespace

std::vector<std::string> clippedCaptions(QWidget *window)
{
    Clipped clipped;
    if (!window)
        return {"no window"};
    for (const QPushButton *button : window->findChildren<QPushButton *>()) {
        if (!button->text().isEmpty())
            checkButton(button, clipped);
    }
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->text().isEmpty())
            checkLabel(label, clipped);
    }
    return clipped;
}

}  // namespace vidorun::testing
