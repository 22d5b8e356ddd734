#include "support/caption_fit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>

#include <gtest/gtest.h>

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

void expectButtonFits(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = button->rect();
    option.text = button->text();
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QFontMetrics metrics(button->font());
    const QString shown = withoutAccessKey(button->text());
    EXPECT_LE(metrics.horizontalAdvance(shown), room.width()) << describe(button, button->text());
    EXPECT_LE(metrics.height(), room.height()) << describe(button, button->text());
}

void expectLabelFits(const QLabel *label)
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
        EXPECT_LE(document.idealWidth(), room.width()) << describe(label, label->text());
        EXPECT_LE(document.size().height(), room.height()) << describe(label, label->text());
#else
        // The Windows Qt reads no HTML: there a label in rich text would
        // show its tags.
        ADD_FAILURE() << describe(label, label->text()) << " is rich text, which Vidorun.exe shows as it stands";
#endif
        return;
    }

    const QFontMetrics metrics(label->font());
    const QString shown = label->buddy() ? withoutAccessKey(label->text()) : label->text();
    if (label->wordWrap() || shown.contains(QLatin1Char('\n'))) {
        const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
        const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 10000), flags, shown);
        EXPECT_LE(needed.width(), room.width()) << describe(label, shown) << " (a word longer than a line)";
        EXPECT_LE(needed.height(), room.height()) << describe(label, shown) << " (wrapped lines)";
    } else {
        EXPECT_LE(metrics.horizontalAdvance(shown), room.width()) << describe(label, shown);
        // A single line may reach into the font's spare leading; its ink may not leave the label.
        EXPECT_LE(metrics.tightBoundingRect(shown).height(), room.height()) << describe(label, shown);
    }
}

}  // namespace

void expectCaptionsFit(QWidget *window)
{
    ASSERT_NE(window, nullptr);
    for (const QPushButton *button : window->findChildren<QPushButton *>()) {
        if (!button->text().isEmpty())
            expectButtonFits(button);
    }
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->text().isEmpty())
            expectLabelFits(label);
    }
}

}  // namespace vidorun::testing
