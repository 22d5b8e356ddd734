#include "ui/qt/fonts.h"

#include <QApplication>
#include <QFont>

namespace vidorun {

void installFontSubstitutes()
{
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
