#include "disccheck/disc_names.h"

#include "platform/windows_names.h"
#include "projectfile/letter_case.h"

#include <QDir>

#include <algorithm>
#include <array>

namespace vidorun {

namespace {

const QChar *firstFaultyCharacter(const QString &name)
{
    return std::find_if(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 0x20 || c.isSurrogate() || isForbiddenNameCharacter(c.unicode());
    });
}

}  // namespace

bool isWindowsDeviceName(const QString &name)
{
    return isWindowsDeviceName(std::u16string_view(QStringView(name).utf16(), std::size_t(name.size())));
}

QString shownName(const QString &name)
{
    const bool blankAtAnEnd = name.startsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(' '));
    return name.isEmpty() || blankAtAnEnd ? QLatin1Char('"') + name + QLatin1Char('"') : name;
}

QString shownPath(const QString &path)
{
    return shownName(QDir::toNativeSeparators(path));
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
