#include "ui/qt/fonts.h"

#include <QApplication>
#include <QFont>

namespace vidorun {

void installFontSubstitutes()
{
#ifdef Q_OS_WIN
    // Windows carries "Microsoft Sans Serif", made to replace the bitmap
    // "MS Sans Serif" at its metrics, and "Courier New"; Wine has neither
    // but the machine's Liberation fonts. Only the offscreen platform of the
    // tests, which reads one folder of Liberation fonts, goes on below.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                                    QStringLiteral("Arial")});
        QFont::insertSubstitutions(QStringLiteral("Courier"),
                                   {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
        return;
    }
#endif
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier"), QStringLiteral("Liberation Mono"));
    // "MS Sans Serif" was a bitmap font with whole-pixel letter widths; full
    // hinting gives the substitute the same, which keeps the longest count
    // ("Total number of movies: 100") inside its 137 pixels.
    QFont font = QApplication::font();
    font.setHintingPreference(QFont::PreferFullHinting);
    QApplication::setFont(font);
}

}  // namespace vidorun
