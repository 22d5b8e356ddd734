#include "fuzz/fuzz_entries.h"

#include "disccheck/disc_names.h"
#include "projectfile/item_reader.h"
#include "projectfile/letter_case.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "base/text.h"
#include "base/utf8.h"
#include "publish/safe_names.h"

#include <algorithm>
#include <cstdio>
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

bool isDecimal(const std::string &counter)
{
    if (counter.empty() || (counter.size() > 1 && counter.front() == '0'))
        return false;
    return std::all_of(counter.begin(), counter.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Project startedProject()
{
    Project project;
    project.TitleCount = project.PathCount = project.CDCount = "0";
    return project;
}

Project readBack(const std::string &bytes)
{
    Project project = startedProject();
    MemorySource source(bytes);
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

    // Decoded and written again, UTF-8 gives the same bytes, and nothing
    // else does: a sequence cut off at the end is no UTF-8.
    if (items.utf8 != (asValidUtf8(bytes) == bytes))
        return items.utf8 ? "bytes that are no UTF-8 taken as UTF-8" : "UTF-8 not taken as UTF-8";

    Project project = startedProject();
    MemorySource again(bytes);
    readProjectItems(again, project);
    for (const std::string *counter : {&project.TitleCount, &project.PathCount, &project.CDCount}) {
        if (!isDecimal(*counter))
            return "a counter that is no decimal number: " + *counter;
    }
    if (project.KeyNumber < 0 || project.KeyNumber > MaxMovieNumber)
        return "KeyNumber " + std::to_string(project.KeyNumber) + " outside the tables";
    const int listable = listableMovies(project);
    if (listable < 0 || listable > MaxMovieNumber)
        return "a list of " + std::to_string(listable) + " movies";

    // Whatever was read can be written again.
    const std::vector<std::string> lines = composeProjectFile(project);
    if (lines.size() > 10 + 3 * MaxWrittenMovie)
        return "a written file of " + std::to_string(lines.size()) + " lines";
    return {};
}

namespace {

// The values the round trip writes, taken from the fuzz input.
struct Values {
    int movies = 0;
    std::vector<std::string> texts;

    std::string at(std::size_t i) const { return i < texts.size() ? texts[i] : std::string(); }
};

// The line from `start` to `end` as text: UTF-16 (in which a surrogate alone
// becomes U+FFFD, as no UTF-8 holds it), or UTF-8 whose invalid sequences
// become U+FFFD.
std::string textOf(const std::uint8_t *data, std::size_t start, std::size_t end, bool utf16)
{
    if (!utf16)
        return asValidUtf8(std::string_view(reinterpret_cast<const char *>(data) + start, end - start));
    std::u16string units;
    for (std::size_t c = start; c + 1 < end; c += 2)
        units += char16_t(data[c] | data[c + 1] << 8);
    return fromUtf16(units);
}

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
        // A line can't hold a line break of its own: 0x01 stands for one.
        values.texts.push_back(replaced(textOf(data, start, end, utf16), "\x01", "\r\n"));
        start = end + 1;
    }
    return values;
}

// The length of the item that the reader takes from an encoded line.
std::size_t itemBytes(const std::string &line)
{
    std::size_t length = line.size() - 2;  // CR LF
    if (startsWith(line, "\""))
        length -= 2;
    return length;
}

bool anyItemTooLong(const std::vector<std::string> &lines)
{
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string &line) { return itemBytes(line) > ItemReader::MaxItemBytes; });
}

// Up to 80 UTF-16 units of the text, printable ASCII as it is.
std::string shown(const std::string &text)
{
    const std::u16string units = toUtf16(text);
    std::string result;
    for (std::size_t i = 0; i < units.size() && i < 80; ++i) {
        const char16_t c = units[i];
        if (c >= 0x20 && c < 0x7F) {
            result += char(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
            result += escape;
        }
    }
    return units.size() > 80 ? result + "..." : result;
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
    project.TitleCount = project.PathCount = project.CDCount = std::to_string(values.movies);

    const std::vector<std::string> lines = projectFileLines(project);
    const EncodedLines encoded = encodeProjectLines(lines);
    if (encoded.lines.size() != lines.size())
        return "the encoded file has another number of lines";
    const std::string bytes = joined(encoded.lines, "");
    const Project back = readBack(bytes);

    const std::string count = std::to_string(values.movies);
    if (back.TitleCount != count || back.PathCount != count || back.CDCount != count)
        return "wrote " + count + " movies, read back " + back.TitleCount + "/" + back.PathCount + "/" + back.CDCount;

    // Compares one value with what the writer promises for it; `line` is its
    // line in the file.
    std::string violation;
    auto check = [&](const char *name, std::size_t line, const std::string &key, const std::string &written,
                     const std::string &read, bool upper) {
        if (!violation.empty() || itemBytes(encoded.lines.at(line)) > ItemReader::MaxItemBytes)
            return;
        // A line break is written as a blank.
        std::string promised = withoutLineBreaks(written);
        if (startsWith(projectLine(key, written), "\""))
            promised = replaced(promised, "\"", "'");
        if (upper)
            promised = projectUpper(promised, isValidUtf8(bytes));
        if (read != promised)
            violation = std::string(name) + ": wrote \"" + shown(written) + "\", read \"" + shown(read) + "\"";
    };
    check("close", 5, "close", project.CloseAfterPlay.empty() ? std::string("0") : project.CloseAfterPlay,
          back.CloseAfterPlay, true);
    check("the_title", 6, "the_title", project.ProjectTitle, back.ProjectTitle, false);
    check("cover", 7, "cover", project.CoverPicturePath, back.CoverPicturePath, true);
    check("player", 8, "player", project.PlayerPath, back.PlayerPath, true);
    check("codec", 9, "codec", project.CodecPath, back.CodecPath, true);
    for (int n = 1; n <= values.movies; ++n) {
        const auto e = std::size_t(n);
        const std::string nn = movieNumber(n);
        const std::size_t line = 10 + 3 * std::size_t(n - 1);
        check("movie", line, "movie" + nn, project.MoviePaths[e], back.MoviePaths[e], true);
        check("title", line + 1, "title" + nn, project.MovieTitles[e], back.MovieTitles[e], false);
        check("mdisk", line + 2, "mdisk" + nn, project.MovieCDs[e], back.MovieCDs[e], true);
    }
    if (!violation.empty())
        return violation;

    // A second round trip changes nothing, unless it cuts an item.
    const std::vector<std::string> second = composeProjectFile(back);
    if (!anyItemTooLong(second) && composeProjectFile(readBack(joined(second, ""))) != second)
        return "what was read back reads back differently a second time";
    return {};
}

namespace {

std::vector<std::string> namesFrom(const std::uint8_t *data, std::size_t size, bool utf16)
{
    std::vector<std::string> names;
    const char *const bytes = reinterpret_cast<const char *>(data);
    for (std::size_t start = 1; start <= size;) {
        const std::size_t end = std::size_t(std::find(bytes + start, bytes + size, '\n') - bytes);
        names.push_back(textOf(data, start, end, utf16));
        start = end + 1;
    }
    return names;
}

std::vector<GivenName> namedFolder(const std::vector<std::string> &names, NameLetters letters)
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
    const std::vector<std::string> names = namesFrom(data, size, data[0] & 2);
    const std::vector<GivenName> given = namedFolder(names, letters);

    std::set<std::string> keys = {jolietKey(names.front())};
    for (std::size_t i = 0; i < given.size(); ++i) {
        const std::string &name = given[i].name;
        if (nameFault(name) != NameFault::None)
            return "\"" + shown(names[i + 1]) + "\" became \"" + shown(name) + "\", which a disc can't hold";
        if (letters == NameLetters::Ascii
            && std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            return "\"" + shown(name) + "\" is no ASCII name";
        if (!keys.insert(jolietKey(name)).second)
            return "\"" + shown(name) + "\" is one name with another of the folder";
        if (safeFileName(name, letters) != name)
            return "the safe name \"" + shown(name) + "\" changes when made safe again";
        if (given[i].reason.empty() != (name == names[i + 1]))
            return "\"" + shown(names[i + 1]) + "\" became \"" + shown(name) + "\" with the reason \""
                   + given[i].reason + "\"";
    }
    const std::vector<GivenName> again = namedFolder(names, letters);
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (again[i].name != given[i].name)
            return "\"" + shown(names[i + 1]) + "\" got another name the second time";
    }
    for (const std::string &name : names) {
        const std::string id = volumeIdentifier(name);
        if (id.empty() || id.size() > 32 || !std::all_of(id.begin(), id.end(), [](char c) {
                return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
            }))
            return "the label \"" + shown(name) + "\" gave the volume identifier \"" + shown(id) + "\"";
    }
    return {};
}

}  // namespace vidorun::fuzz
