#include "publish/safe_names.h"

#include "disccheck/disc_names.h"
#include "platform/windows_names.h"

#include <QList>

#include <algorithm>
#include <array>
#include <utility>

namespace vidorun {

namespace {

// The longest ending kept as an extension when a long name is shortened.
constexpr int MaxKeptExtension = 16;

bool refused(char32_t c)
{
    return c < 0x20 || c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF) || isForbiddenNameCharacter(c);
}

// Letters of the code page that no decomposition takes apart.
QString plainLetters(char32_t c)
{
    static const std::array<std::pair<char32_t, const char *>, 16> letters = {{
        {U'ß', "ss"}, {U'æ', "ae"}, {U'Æ', "AE"}, {U'ø', "o"}, {U'Ø', "O"}, {U'œ', "oe"},
        {U'Œ', "OE"}, {U'ð', "d"}, {U'Ð', "D"}, {U'þ', "th"}, {U'Þ', "TH"}, {U'ł', "l"},
        {U'Ł', "L"}, {U'đ', "d"}, {U'Đ', "D"}, {U'ı', "i"},
    }};
    for (const auto &[letter, plain] : letters) {
        if (letter == c)
            return QLatin1String(plain);
    }
    // "é" is "e" and an accent, "ﬁ" is "fi": the ASCII part of the
    // compatibility decomposition, when it has no other part but marks.
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    QString plain;
    for (const QChar part : decomposed) {
        if (part.unicode() < 0x80)
            plain += part;
        else if (part.category() != QChar::Mark_NonSpacing && part.category() != QChar::Mark_SpacingCombining
                 && part.category() != QChar::Mark_Enclosing)
            return QString();
    }
    return plain;
}

QString withSafeCharacters(const QString &name, NameLetters letters)
{
    QString safe;
    const QList<uint> codePoints = name.toUcs4();
    for (const uint point : codePoints) {
        const auto c = char32_t(point);
        if (refused(c)) {
            safe += QLatin1Char('_');
        } else if (letters == NameLetters::Ascii && c >= 0x80) {
            const QString plain = plainLetters(c);
            if (plain.isEmpty())
                safe += QLatin1Char('_');
            for (const QChar p : plain)
                safe += refused(p.unicode()) ? QChar(u'_') : p;
        } else {
            safe += QChar(char16_t(c));
        }
    }
    return safe;
}

void dropTrailingDotsAndBlanks(QString &name)
{
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
}

// The name within `length` characters, its extension kept where it has a
// short one.
QString shortened(const QString &name, int length)
{
    if (name.size() <= length)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype extension = dot > 0 ? name.size() - dot : 0;
    if (extension == 0 || extension > MaxKeptExtension)
        return name.left(length);
    return name.left(length - extension) + name.mid(dot);
}

QString reasonFor(const QString &name, NameLetters letters, const QString &whyAscii)
{
    switch (nameFault(name)) {
    case NameFault::Empty:
        return QStringLiteral("a file needs a name");
    case NameFault::TooLong:
        return QStringLiteral("a disc keeps %1 characters of a name").arg(JolietMaxNameLength);
    case NameFault::ForbiddenCharacter:
    case NameFault::ControlCharacter:
    case NameFault::BeyondBmp:
        return QStringLiteral("Windows and a disc's Joliet names can't hold %1").arg(faultyCharacterText(name));
    case NameFault::DeviceName:
        return QStringLiteral("Windows opens a device for %1").arg(name.section(QLatin1Char('.'), 0, 0).trimmed());
    case NameFault::TrailingDotOrBlank:
        return QStringLiteral("Windows drops a trailing dot or blank");
    case NameFault::None:
        break;
    }
    if (letters == NameLetters::Ascii) {
        for (const QChar c : name) {
            if (c.unicode() >= 0x80) {
                const QString beyond = QStringLiteral("'%1' is beyond ASCII").arg(c);
                return whyAscii.isEmpty() ? beyond : beyond + QStringLiteral(", and ") + whyAscii;
            }
        }
    }
    return QString();
}

}  // namespace

QString safeFileName(const QString &name, NameLetters letters)
{
    QString safe = withSafeCharacters(name, letters);
    dropTrailingDotsAndBlanks(safe);
    if (isWindowsDeviceName(safe))
        safe.prepend(QLatin1Char('_'));
    safe = shortened(safe, JolietMaxNameLength);
    dropTrailingDotsAndBlanks(safe);
    return safe.isEmpty() ? QStringLiteral("_") : safe;
}

QString volumeIdentifier(const QString &label)
{
    constexpr int MaxVolumeIdentifier = 32;
    QString id;
    for (const QChar c : safeFileName(label, NameLetters::Ascii).toUpper()) {
        const bool kept = (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
        id += kept ? c : QChar(u'_');
    }
    id = id.left(MaxVolumeIdentifier);
    const bool nothingLeft = std::all_of(id.begin(), id.end(), [](QChar c) { return c == u'_'; });
    return nothingLeft ? QStringLiteral("VIDORUN") : id;
}

void FolderNames::reserve(const QString &name)
{
    m_keys.insert(jolietKey(name));
}

GivenName FolderNames::add(const QString &name, NameLetters letters, const QString &whyAscii)
{
    const QString safe = safeFileName(name, letters);
    GivenName given{safe, safe == name ? QString() : reasonFor(name, letters, whyAscii)};
    const qsizetype dot = safe.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > 0 && safe.size() - dot <= MaxKeptExtension;
    const QString stem = hasExtension ? safe.left(dot) : safe;
    const QString extension = hasExtension ? safe.mid(dot) : QString();
    for (int number = 2; m_keys.count(jolietKey(given.name)); ++number) {
        const QString suffix = QStringLiteral("_%1").arg(number);
        given.name = stem.left(JolietMaxNameLength - suffix.size() - extension.size()) + suffix + extension;
        given.reason = QStringLiteral("another file of the folder has that name, to Windows");
    }
    m_keys.insert(jolietKey(given.name));
    return given;
}

}  // namespace vidorun
