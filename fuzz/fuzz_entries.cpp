#include "fuzz/fuzz_entries.h"

#include "disccheck/disc_names.h"
#include "projectfile/item_reader.h"
#include "projectfile/letter_case.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "publish/safe_names.h"

#include <QStringDecoder>

#include <algorithm>
#include <set>
#include <vector>

namespace vidorun::fuzz {
namespace {

// Hands out the bytes in pieces of 1 to 9 bytes, now and then a large one,
// so that items, line ends and UTF-8 sequences straddle the reader's refills.
class PieceSource final : public ByteSource {
public:
    PieceSource(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size), m_state(size | 1u) {}

    std::size_t read(char *buffer, std::size_t size) override
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        const std::size_t wanted = (m_state >> 60) == 0 ? size : 1 + (m_state >> 33) % 9;
        const std::size_t n = std::min({wanted, size, m_size - m_pos});
        std::copy(m_data + m_pos, m_data + m_pos + n, buffer);
        m_pos += n;
        return n;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    std::uint64_t m_state;
};

struct Items {
    std::vector<std::string> items;
    bool utf8 = false;
};

Items readItems(ByteSource &source, std::size_t limit)
{
    Items result;
    ItemReader reader(source);
    // Every item takes at least one byte; more items than bytes means the
    // reader stopped moving.
    while (!reader.atEnd() && result.items.size() <= limit)
        result.items.push_back(reader.next());
    result.utf8 = reader.utf8();
    return result;
}

bool isDecimal(const QString &counter)
{
    if (counter.isEmpty() || (counter.size() > 1 && counter.front() == u'0'))
        return false;
    return std::all_of(counter.begin(), counter.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

Project startedProject()
{
    Project project;
    project.TitleCount = project.PathCount = project.CDCount = QStringLiteral("0");
    return project;
}

Project readBack(const QByteArray &bytes)
{
    Project project = startedProject();
    MemorySource source(bytes.toStdString());
    readProjectItems(source, project);
    return project;
}

}  // namespace

std::string readerViolation(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);

    MemorySource whole(bytes);
    const Items items = readItems(whole, size);
    if (items.items.size() > size)
        return "the reader gave more items than the file has bytes";
    for (const std::string &item : items.items) {
        if (item.size() > ItemReader::MaxItemBytes)
            return "an item of " + std::to_string(item.size()) + " bytes";
    }

    PieceSource pieces(data, size);
    const Items pieceItems = readItems(pieces, size);
    if (pieceItems.items != items.items)
        return "reading in small pieces gave other items";
    if (pieceItems.utf8 != items.utf8)
        return "reading in small pieces changed whether the file is UTF-8";

    // Stateless: a sequence cut off at the end is an error, not a wait for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    [[maybe_unused]] const QString decoded = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (items.utf8 != !utf8.hasError())
        return items.utf8 ? "bytes that are no UTF-8 taken as UTF-8" : "UTF-8 not taken as UTF-8";

    Project project = startedProject();
    MemorySource again(bytes);
    readProjectItems(again, project);
    for (const QString *counter : {&project.TitleCount, &project.PathCount, &project.CDCount}) {
        if (!isDecimal(*counter))
            return "a counter that is no decimal number: " + counter->toStdString();
    }
    if (project.KeyNumber < 0 || project.KeyNumber > MaxMovieNumber)
        return "KeyNumber " + std::to_string(project.KeyNumber) + " outside the tables";
    const int listable = listableMovies(project);
    if (listable < 0 || listable > MaxMovieNumber)
        return "a list of " + std::to_string(listable) + " movies";

    // Whatever was read can be written again.
    const QByteArrayList lines = composeProjectFile(project);
    if (lines.size() > 10 + 3 * MaxWrittenMovie)
        return "a written file of " + std::to_string(lines.size()) + " lines";
    return {};
}

namespace {

// The values the round trip writes, taken from the fuzz input.
struct Values {
    int movies = 0;
    std::vector<QString> texts;

    QString at(std::size_t i) const { return i < texts.size() ? texts[i] : QString(); }
};

Values valuesFrom(const std::uint8_t *data, std::size_t size)
{
    Values values;
    if (size < 2)
        return values;
    const bool utf16 = data[0] & 1;
    values.movies = data[1] % (MaxWrittenMovie + 1);
    const char *const bytes = reinterpret_cast<const char *>(data);
    for (std::size_t start = 2; start <= size;) {
        const std::size_t end = std::size_t(std::find(bytes + start, bytes + size, '\n') - bytes);
        QString value;
        if (utf16) {
            for (std::size_t c = start; c + 1 < end; c += 2)
                value.append(QChar(char16_t(data[c] | data[c + 1] << 8)));
        } else {
            // Invalid sequences become U+FFFD; a leading byte-order mark stays.
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
            value = decoder.decode(QByteArrayView(bytes + start, qsizetype(end - start)));
        }
        // A line can't hold a line break of its own: 0x01 stands for one.
        value.replace(QChar(1), QStringLiteral("\r\n"));
        values.texts.push_back(value);
        start = end + 1;
    }
    return values;
}

QString withoutLoneSurrogates(const QString &text)
{
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar c = result.at(i);
        if (c.isHighSurrogate() && i + 1 < result.size() && result.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            result[i] = u'?';
    }
    return result;
}

// The length of the item that the reader takes from an encoded line.
std::size_t itemBytes(const QByteArray &line)
{
    std::size_t length = std::size_t(line.size()) - 2;  // CR LF
    if (line.startsWith('"'))
        length -= 2;
    return length;
}

bool anyItemTooLong(const QByteArrayList &lines)
{
    return std::any_of(lines.begin(), lines.end(),
                       [](const QByteArray &line) { return itemBytes(line) > ItemReader::MaxItemBytes; });
}

std::string shown(const QString &text)
{
    std::string result;
    for (const QChar c : text.left(80)) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            result += char(c.unicode());
        else
            result += "\\u" + QString::number(c.unicode(), 16).rightJustified(4, u'0').toStdString();
    }
    return text.size() > 80 ? result + "..." : result;
}

}  // namespace

std::string roundTripViolation(const std::uint8_t *data, std::size_t size)
{
    const Values values = valuesFrom(data, size);
    Project project = startedProject();
    project.ProjectTitle = values.at(0);
    project.CoverPicturePath = values.at(1);
    project.PlayerPath = values.at(2);
    project.CodecPath = values.at(3);
    project.CloseAfterPlay = values.at(4);
    for (int n = 1; n <= values.movies; ++n) {
        const std::size_t first = 5 + 3 * std::size_t(n - 1);
        project.MoviePaths[std::size_t(n)] = values.at(first);
        project.MovieTitles[std::size_t(n)] = values.at(first + 1);
        project.MovieCDs[std::size_t(n)] = values.at(first + 2);
    }
    project.TitleCount = project.PathCount = project.CDCount = QString::number(values.movies);

    const QStringList lines = projectFileLines(project);
    const EncodedLines encoded = encodeProjectLines(lines);
    if (encoded.lines.size() != lines.size())
        return "the encoded file has another number of lines";
    const QByteArray bytes = encoded.lines.join();
    const Project back = readBack(bytes);

    const QString count = QString::number(values.movies);
    if (back.TitleCount != count || back.PathCount != count || back.CDCount != count)
        return "wrote " + count.toStdString() + " movies, read back " + back.TitleCount.toStdString() + "/"
               + back.PathCount.toStdString() + "/" + back.CDCount.toStdString();

    // Compares one value with what the writer promises for it; `line` is its
    // line in the file.
    std::string violation;
    auto check = [&](const char *name, qsizetype line, const QString &key, const QString &written,
                     const QString &read, bool upper) {
        if (!violation.empty() || itemBytes(encoded.lines.at(line)) > ItemReader::MaxItemBytes)
            return;
        // A line break is written as a blank.
        QString promised = withoutLineBreaks(written);
        if (projectLine(key, written).startsWith(u'"'))
            promised.replace(u'"', u'\'');
        promised = withoutLoneSurrogates(promised);
        if (upper)
            promised = projectUpper(promised, isValidUtf8(bytes));
        if (read != promised)
            violation = std::string(name) + ": wrote \"" + shown(written) + "\", read \"" + shown(read) + "\"";
    };
    check("close", 5, QStringLiteral("close"), project.CloseAfterPlay.isEmpty() ? QStringLiteral("0") : project.CloseAfterPlay,
          back.CloseAfterPlay, true);
    check("the_title", 6, QStringLiteral("the_title"), project.ProjectTitle, back.ProjectTitle, false);
    check("cover", 7, QStringLiteral("cover"), project.CoverPicturePath, back.CoverPicturePath, true);
    check("player", 8, QStringLiteral("player"), project.PlayerPath, back.PlayerPath, true);
    check("codec", 9, QStringLiteral("codec"), project.CodecPath, back.CodecPath, true);
    for (int n = 1; n <= values.movies; ++n) {
        const auto e = std::size_t(n);
        const QString nn = movieNumber(n);
        const qsizetype line = 10 + 3 * (n - 1);
        check("movie", line, "movie" + nn, project.MoviePaths[e], back.MoviePaths[e], true);
        check("title", line + 1, "title" + nn, project.MovieTitles[e], back.MovieTitles[e], false);
        check("mdisk", line + 2, "mdisk" + nn, project.MovieCDs[e], back.MovieCDs[e], true);
    }
    if (!violation.empty())
        return violation;

    // A second round trip changes nothing, unless it cuts an item.
    const QByteArrayList second = composeProjectFile(back);
    if (!anyItemTooLong(second) && composeProjectFile(readBack(second.join())) != second)
        return "what was read back reads back differently a second time";
    return {};
}

namespace {

std::vector<QString> namesFrom(const std::uint8_t *data, std::size_t size, bool utf16)
{
    std::vector<QString> names;
    const char *const bytes = reinterpret_cast<const char *>(data);
    for (std::size_t start = 1; start <= size;) {
        const std::size_t end = std::size_t(std::find(bytes + start, bytes + size, '\n') - bytes);
        QString name;
        if (utf16) {
            for (std::size_t c = start; c + 1 < end; c += 2)
                name.append(QChar(char16_t(data[c] | data[c + 1] << 8)));
        } else {
            name = QString::fromUtf8(bytes + start, qsizetype(end - start));
        }
        names.push_back(name);
        start = end + 1;
    }
    return names;
}

std::vector<GivenName> namedFolder(const std::vector<QString> &names, NameLetters letters)
{
    FolderNames folder;
    std::vector<GivenName> given;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i == 0)
            folder.reserve(names[i]);
        else
            given.push_back(folder.add(names[i], letters));
    }
    return given;
}

}  // namespace

std::string safeNamesViolation(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return {};
    const NameLetters letters = (data[0] & 1) ? NameLetters::Ascii : NameLetters::Any;
    const std::vector<QString> names = namesFrom(data, size, data[0] & 2);
    const std::vector<GivenName> given = namedFolder(names, letters);

    std::set<std::string> keys = {jolietKey(names.front())};
    for (std::size_t i = 0; i < given.size(); ++i) {
        const QString &name = given[i].name;
        if (nameFault(name) != NameFault::None)
            return "\"" + shown(names[i + 1]) + "\" became \"" + shown(name) + "\", which a disc can't hold";
        if (letters == NameLetters::Ascii
            && std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() >= 0x80; }))
            return "\"" + shown(name) + "\" is no ASCII name";
        if (!keys.insert(jolietKey(name)).second)
            return "\"" + shown(name) + "\" is one name with another of the folder";
        if (safeFileName(name, letters) != name)
            return "the safe name \"" + shown(name) + "\" changes when made safe again";
        if (given[i].reason.isEmpty() != (name == names[i + 1]))
            return "\"" + shown(names[i + 1]) + "\" became \"" + shown(name) + "\" with the reason \""
                   + given[i].reason.toStdString() + "\"";
    }
    const std::vector<GivenName> again = namedFolder(names, letters);
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (again[i].name != given[i].name)
            return "\"" + shown(names[i + 1]) + "\" got another name the second time";
    }
    for (const QString &name : names) {
        const QString id = volumeIdentifier(name);
        if (id.isEmpty() || id.size() > 32
            || !std::all_of(id.begin(), id.end(), [](QChar c) {
                   return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
               }))
            return "the label \"" + shown(name) + "\" gave the volume identifier \"" + shown(id) + "\"";
    }
    return {};
}

}  // namespace vidorun::fuzz
