#include "projectfile/project_reader.h"

#include <QFile>

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

namespace {

// One value the file can set: the raw bytes of the last item that set it.
struct Slot {
    bool set = false;
    std::string bytes;
    void assign(std::string_view value)
    {
        set = true;
        bytes.assign(value);
    }
};

struct TableSlots {
    std::array<Slot, MovieTableSize> elements;
    long long count = 0;
};

std::string_view valueFrom(const std::string &item, std::size_t position)
{
    const std::size_t start = position - 1;
    return start < item.size() ? std::string_view(item).substr(start) : std::string_view();
}

bool startsWith(const std::string &item, const char (&key)[6])
{
    if (item.size() < 5)
        return false;
    for (int i = 0; i < 5; ++i) {
        if (std::toupper(static_cast<unsigned char>(item[std::size_t(i)])) != key[i])
            return false;
    }
    return true;
}

void applyTable(const TableSlots &table, MovieTable &target, QString &counter, bool upper, bool utf8)
{
    for (std::size_t n = 0; n < table.elements.size(); ++n) {
        if (!table.elements[n].set)
            continue;
        const QString value = decodeProjectText(table.elements[n].bytes, utf8);
        target[n] = upper ? value.toUpper() : value;
    }
    counter = QString::number(counterValue(counter) + table.count);
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
            title.assign(valueFrom(item, 11));
        } else if (startsWith(item, "COVER")) {
            cover.assign(valueFrom(item, 7));
        } else if (startsWith(item, "PLAYE")) {
            player.assign(valueFrom(item, 8));
        } else if (startsWith(item, "CODEC")) {
            codec.assign(valueFrom(item, 7));
        } else if (startsWith(item, "MOVIE") || startsWith(item, "TITLE") || startsWith(item, "MDISK")) {
            const int number = keyNumber(item.size() > 5 ? std::string_view(item).substr(5, 2) : std::string_view());
            // A number outside the tables (only a negative one fits in two
            // characters) can't be stored: the line is skipped.
            if (number < 0 || number > MaxMovieNumber)
                continue;
            TableSlots &table = startsWith(item, "MOVIE") ? paths : startsWith(item, "TITLE") ? titles : cds;
            table.elements[std::size_t(number)].assign(valueFrom(item, 9));
            ++table.count;
            anyNumbered = true;
            lastKey = number;
        } else if (startsWith(item, "CLOSE")) {
            close.assign(valueFrom(item, 7));
        }
    }

    const bool utf8 = reader.utf8();
    auto text = [utf8](const Slot &slot) { return decodeProjectText(slot.bytes, utf8); };
    if (title.set) {
        project.ProjectTitle = text(title);
        outcome.title = project.ProjectTitle;
    }
    if (cover.set)
        project.CoverPicturePath = text(cover).toUpper();
    if (player.set)
        project.PlayerPath = text(player).toUpper();
    if (codec.set)
        project.CodecPath = text(codec).toUpper();
    if (close.set)
        project.CloseAfterPlay = text(close).toUpper();
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
    explicit FileSource(QFile &file) : m_file(file) {}
    std::size_t read(char *buffer, std::size_t size) override
    {
        const qint64 n = m_file.read(buffer, qint64(size));
        return n > 0 ? std::size_t(n) : 0;
    }

private:
    QFile &m_file;
};

}  // namespace

ReadOutcome readProjectFile(const QString &path, Project &project)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    FileSource source(file);
    return readProjectItems(source, project);
}

}  // namespace vidorun
