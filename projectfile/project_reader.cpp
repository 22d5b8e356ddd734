#include "projectfile/project_reader.h"

#include "base/text.h"
#include "platform/file_io.h"
#include "projectfile/letter_case.h"
#include "projectfile/text_codec.h"

#include <array>
#include <cctype>
#include <cmath>
#include <string>

namespace vidorun {

int keyNumber(std::string_view text)
{
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skipBlanks();
    double sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        sign = text[i] == '-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    bool point = false;
    double scale = 1;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t')
            continue;
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                scale /= 10;
                value += (c - '0') * scale;
            } else {
                value = value * 10 + (c - '0');
            }
        } else {
            break;
        }
    }
    // nearbyint rounds halves to the even integer in the default rounding mode.
    return int(std::nearbyint(sign * value));
}

std::string_view itemValue(const std::string &item, std::size_t position, bool utf8)
{
    std::size_t start = 0;
    for (std::size_t skipped = 1; skipped < position && start < item.size(); ++skipped) {
        ++start;
        // A UTF-8 character is its lead byte and the continuation bytes after it.
        while (utf8 && start < item.size() && (static_cast<unsigned char>(item[start]) & 0xC0) == 0x80)
            ++start;
    }
    return std::string_view(item).substr(start);
}

namespace {

// One value the file can set: the last item that set it, and the position
// of the value in it. Positions count characters, so where the value starts
// is known only once the whole file has told whether it is UTF-8.
struct Slot {
    bool set = false;
    std::string item;
    std::size_t position = 0;
    void assign(const std::string &from, std::size_t valuePosition)
    {
        set = true;
        item = from;
        position = valuePosition;
    }
    // The value's bytes: from the character at `position` (counted from 1)
    // to the end of the item, or nothing when the item is shorter.
    std::string_view value(bool utf8) const { return itemValue(item, position, utf8); }
};

struct TableSlots {
    std::array<Slot, MovieTableSize> elements;
    long long count = 0;
};

// In ASCII, whatever the locale: in a Turkish one, toupper('i') is no 'I'.
bool startsWith(const std::string &item, const char (&key)[6])
{
    return item.size() >= 5 && equalIgnoringAsciiCase(std::string_view(item).substr(0, 5), key);
}

void applyTable(const TableSlots &table, MovieTable &target, std::string &counter, bool upper, bool utf8)
{
    for (std::size_t n = 0; n < table.elements.size(); ++n) {
        if (!table.elements[n].set)
            continue;
        const std::string value = decodeProjectText(std::string(table.elements[n].value(utf8)), utf8);
        target[n] = upper ? projectUpper(value, utf8) : value;
    }
    counter = std::to_string(counterValue(counter) + table.count);
}

}  // namespace

ReadOutcome readProjectItems(ByteSource &source, Project &project)
{
    ReadOutcome outcome;
    outcome.opened = true;

    Slot title, cover, player, codec, close;
    TableSlots paths, titles, cds;
    bool anyNumbered = false;
    int lastKey = project.KeyNumber;

    ItemReader reader(source);
    while (!reader.atEnd()) {
        const std::string item = reader.next();
        if (startsWith(item, "THE_T")) {
            title.assign(item, 11);
        } else if (startsWith(item, "COVER")) {
            cover.assign(item, 7);
        } else if (startsWith(item, "PLAYE")) {
            player.assign(item, 8);
        } else if (startsWith(item, "CODEC")) {
            codec.assign(item, 7);
        } else if (startsWith(item, "MOVIE") || startsWith(item, "TITLE") || startsWith(item, "MDISK")) {
            const int number = keyNumber(item.size() > 5 ? std::string_view(item).substr(5, 2) : std::string_view());
            // A number outside the tables (only a negative one fits in two
            // characters) can't be stored: the line is skipped.
            if (number < 0 || number > MaxMovieNumber)
                continue;
            TableSlots &table = startsWith(item, "MOVIE") ? paths : startsWith(item, "TITLE") ? titles : cds;
            table.elements[std::size_t(number)].assign(item, 9);
            ++table.count;
            anyNumbered = true;
            lastKey = number;
        } else if (startsWith(item, "CLOSE")) {
            close.assign(item, 7);
        }
    }

    const bool utf8 = reader.utf8();
    auto text = [utf8](const Slot &slot) { return decodeProjectText(std::string(slot.value(utf8)), utf8); };
    if (title.set) {
        project.ProjectTitle = text(title);
        outcome.title = project.ProjectTitle;
    }
    if (cover.set)
        project.CoverPicturePath = projectUpper(text(cover), utf8);
    if (player.set)
        project.PlayerPath = projectUpper(text(player), utf8);
    if (codec.set)
        project.CodecPath = projectUpper(text(codec), utf8);
    if (close.set)
        project.CloseAfterPlay = projectUpper(text(close), utf8);
    applyTable(paths, project.MoviePaths, project.PathCount, true, utf8);
    applyTable(titles, project.MovieTitles, project.TitleCount, false, utf8);
    applyTable(cds, project.MovieCDs, project.CDCount, true, utf8);
    if (anyNumbered)
        project.KeyNumber = std::int16_t(lastKey);
    return outcome;
}

namespace {

class FileSource final : public ByteSource {
public:
    explicit FileSource(InputFile &file) : m_file(file) {}
    std::size_t read(char *buffer, std::size_t size) override
    {
        const long long n = m_file.read(buffer, size);
        return n > 0 ? std::size_t(n) : 0;
    }

private:
    InputFile &m_file;
};

}  // namespace

ReadOutcome readProjectFile(const std::string &path, Project &project)
{
    const std::unique_ptr<InputFile> file = openInputFile(path);
    if (!file)
        return {};
    FileSource source(*file);
    return readProjectItems(source, project);
}

}  // namespace vidorun
