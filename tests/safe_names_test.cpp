// The names publishing gives files on a disc: a few names as an author
// meets them, then the promises of safe_names.h over arbitrary names.
#include "disccheck/disc_names.h"
#include "fuzz/fuzz_entries.h"
#include "publish/safe_names.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <random>

using namespace vidorun;

namespace {

QStringList namedInOneFolder(const QStringList &names, NameLetters letters = NameLetters::Any)
{
    FolderNames folder;
    QStringList given;
    for (const QString &name : names)
        given << folder.add(name, letters).name;
    return given;
}

TEST(SafeNames, KeepWhatADiscHoldsAndMendTheRest)
{
    EXPECT_EQ(safeFileName(QStringLiteral("Sunrise over the bay.avi"), NameLetters::Any),
              QStringLiteral("Sunrise over the bay.avi"));
    EXPECT_EQ(safeFileName(QStringLiteral("Sunrise: over the bay?.avi"), NameLetters::Any),
              QStringLiteral("Sunrise_ over the bay_.avi"));
    EXPECT_EQ(safeFileName(QStringLiteral("con.avi"), NameLetters::Any), QStringLiteral("_con.avi"));
    EXPECT_EQ(safeFileName(QStringLiteral("nul. "), NameLetters::Any), QStringLiteral("_nul"));
    EXPECT_EQ(safeFileName(QStringLiteral("Café.avi"), NameLetters::Any), QStringLiteral("Café.avi"));
    EXPECT_EQ(safeFileName(QStringLiteral("Café Straße Ærø.avi"), NameLetters::Ascii),
              QStringLiteral("Cafe Strasse AEro.avi"));
    EXPECT_EQ(safeFileName(QStringLiteral("日本.avi"), NameLetters::Ascii), QStringLiteral("__.avi"));
    EXPECT_EQ(safeFileName(QString::fromUtf8("\xF0\x9F\x8E\xAC.avi"), NameLetters::Any), QStringLiteral("_.avi"));

    const QString longName = QString(70, QLatin1Char('x')) + QStringLiteral(".avi");
    EXPECT_EQ(safeFileName(longName, NameLetters::Any), QString(60, QLatin1Char('x')) + QStringLiteral(".avi"));

    // Names that are one to Windows are numbered, the first kept as it is.
    EXPECT_EQ(namedInOneFolder({QStringLiteral("Part.avi"), QStringLiteral("PART.AVI"), QStringLiteral("part.avi"),
                                QStringLiteral("Part_2.avi")}),
              QStringList({QStringLiteral("Part.avi"), QStringLiteral("PART_2.AVI"), QStringLiteral("part_3.avi"),
                           QStringLiteral("Part_2_2.avi")}));
    EXPECT_EQ(volumeIdentifier(QStringLiteral("Holiday 1")), QStringLiteral("HOLIDAY_1"));
    EXPECT_EQ(volumeIdentifier(QStringLiteral("Férias-2026")), QStringLiteral("FERIAS_2026"));
    EXPECT_EQ(volumeIdentifier(QStringLiteral("日本")), QStringLiteral("VIDORUN"));
}

// Random folders of names drawn from what breaks names: the characters
// Windows refuses, controls, surrogates alone and in pairs, letters of many
// scripts, blanks and dots at the end, device names, great lengths.
TEST(SafeNames, EveryNameOfAnyFolderIsSafeUniqueAndTheSameEachTime)
{
    static const std::u16string pieces[] = {
        u"a", u"Z", u"0", u".", u" ", u"..", u"_", u"*", u"/", u":", u";", u"?", u"\\", u"<", u">", u"\"", u"|",
        u"\x01", u"\x1f", u"\t", u"é", u"É", u"ß", u"ſ", u"ǅ", u"ﬁ", u"Я", u"я", u"日本", u"\xD83C\xDFAC",
        u"\xD83C", u"\xDFAC", u"\xFFFD", u"CON", u"nul", u"Com1", u"LPT9", u".avi", u".AVI", u"x.tar.gz",
        u"ΣΑΣ", u"ς", u"İ", u"ı", u"\x7F", u"€"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 400; ++round) {
        std::string input(1, char(random() % 4));
        const int names = 1 + int(random() % 12);
        for (int n = 0; n < names; ++n) {
            std::u16string name;
            const int length = int(random() % (random() % 8 == 0 ? 90 : 8));
            for (int i = 0; i < length; ++i)
                name += pieces[random() % std::size(pieces)];
            const QString text = QString::fromStdU16String(name);
            if (input[0] & 2) {
                for (const QChar c : text) {
                    input += char(c.unicode() & 0xFF);
                    input += char(c.unicode() >> 8);
                }
            } else {
                input += text.toUtf8().toStdString();
            }
            if (n + 1 < names)
                input += '\n';
        }
        const auto *data = reinterpret_cast<const std::uint8_t *>(input.data());
        ASSERT_EQ(fuzz::safeNamesViolation(data, input.size()), "") << "round " << round;
    }
}

}  // namespace
