#include "disccheck/disc_names.h"

#include "projectfile/letter_case.h"

#include <algorithm>
#include <array>

namespace vidorun {

namespace {

bool forbidden(QChar c)
{
    static constexpr std::array<char16_t, 10> characters = {u'*', u'/', u':', u';', u'?',
                                                            u'\\', u'<', u'>', u'"', u'|'};
    return std::find(characters.begin(), characters.end(), c.unicode()) != characters.end();
}

const QChar *firstFaultyCharacter(const QString &name)
{
    return std::find_if(name.begin(), name.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.isSurrogate() || forbidden(c); });
}

}  // namespace

bool isWindowsDeviceName(const QString &name)
{
    // Windows takes the part before the first dot, trailing blanks dropped.
    QString stem = name.section(QLatin1Char('.'), 0, 0);
    while (stem.endsWith(QLatin1Char(' ')))
        stem.chop(1);
    stem = stem.toUpper();
    if (stem == QLatin1String("CON") || stem == QLatin1String("PRN") || stem == QLatin1String("AUX")
        || stem == QLatin1String("NUL"))
        return true;
    return stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))
           && stem[3] >= QLatin1Char('1') && stem[3] <= QLatin1Char('9');
}

NameFault nameFault(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return NameFault::Empty;
    if (name.size() > JolietMaxNameLength)
        return NameFault::TooLong;
    const QChar *bad = firstFaultyCharacter(name);
    if (bad != name.end())
        return bad->unicode() < 0x20 ? NameFault::ControlCharacter
               : bad->isSurrogate()  ? NameFault::BeyondBmp
                                     : NameFault::ForbiddenCharacter;
    if (isWindowsDeviceName(name))
        return NameFault::DeviceName;
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return NameFault::TrailingDotOrBlank;
    return NameFault::None;
}

QString faultyCharacterText(const QString &name)
{
    const QChar *bad = firstFaultyCharacter(name);
    if (bad == name.end())
        return {};
    if (bad->unicode() < 0x20)
        return QStringLiteral("a control character");
    if (bad->isSurrogate())
        return QStringLiteral("a character beyond U+FFFF");
    return QLatin1Char('\'') + *bad + QLatin1Char('\'');
}

std::optional<Medium> smallestMedium(qint64 bytes)
{
    static const std::array<Medium, 4> media = {{
        {"a 650 MB CD", 681984000},
        {"a 700 MB CD", 737280000},
        {"a 4.7 GB DVD", 4700372992},
        {"an 8.5 GB double-layer DVD", 8543666176},
    }};
    for (const Medium &medium : media) {
        if (bytes <= medium.bytes)
            return medium;
    }
    return std::nullopt;
}

std::string jolietKey(const QString &name)
{
    const QString kept = name.left(JolietMaxNameLength);
    return fileNameFoldUtf8(kept.toStdString());
}

}  // namespace vidorun
