#include "disccheck/autorun_text.h"

#include "base/text.h"
#include "disccheck/check_context.h"
#include "projectfile/item_reader.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "projectfile/text_codec.h"

#include <algorithm>
#include <map>
#include <string_view>

namespace vidorun::check {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number the digits write; 0 when it is too great for an int.
int digitsValue(std::string_view digits)
{
    long long value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > 0x7FFFFFFF)
            return 0;
    }
    return int(value);
}

// A project key the reader knows, by its first five characters: the key as
// the program writes it, and the character position of its value.
struct Key {
    const char *head;
    const char *written;  // without a movie's number
    std::size_t position;
    bool numbered;
};

const Key *projectKey(const std::string &item)
{
    static const std::array<Key, 8> keys = {{
        {"MOVIE", "movie", 9, true},  {"TITLE", "title", 9, true},   {"MDISK", "mdisk", 9, true},
        {"THE_T", "the_title", 11, false}, {"COVER", "cover", 7, false}, {"PLAYE", "player", 8, false},
        {"CODEC", "codec", 7, false}, {"CLOSE", "close", 7, false},
    }};
    const std::string head = asciiUpper(std::string_view(item).substr(0, 5));
    const auto it = std::find_if(keys.begin(), keys.end(), [&head](const Key &key) { return head == key.head; });
    return it == keys.end() ? nullptr : &*it;
}

class Scan {
public:
    Scan(AutorunText &written, bool utf8) : m_written(written), m_utf8(utf8) {}

    std::string text(std::string_view raw) const { return decodeProjectText(std::string(raw), m_utf8); }

    // A project key's line, as the reader takes its first item.
    void projectItem(const std::string &item, int lineNumber);
    // A line the reader cuts short at a comma or a quote.
    void cutItem(std::string_view content, const std::string &item, int lineNumber);
    // What a misread leaves for the program, once every line is read.
    void finish();

private:
    AutorunText &m_written;
    bool m_utf8;
    // The last line that set each movie's path, title and label, and whether
    // the reader took it from another place than meant.
    std::map<std::pair<std::string, int>, bool> m_lastMisread;
    std::map<std::pair<std::string, int>, int> m_lastLine;
    // Lines whose key has a number of three digits or more.
    struct LongNumber {
        int lineNumber;
        std::string head;
        int number;
        std::string line, read;
    };
    std::vector<LongNumber> m_longNumbers;
};

void Scan::projectItem(const std::string &item, int lineNumber)
{
    const Key *key = projectKey(item);
    const std::string_view value = itemValue(item, key->position, m_utf8);
    int number = -1;
    if (key->numbered) {
        number = keyNumber(item.size() > 5 ? std::string_view(item).substr(5, 2) : std::string_view());
        if (number < 0 || number > MaxMovieNumber)
            return;
    }
    const std::string head = key->head;
    if (head == "MOVIE")
        m_written.moviePaths[std::size_t(number)] = text(value);
    else if (head == "COVER")
        m_written.cover = text(value);
    else if (head == "PLAYE")
        m_written.player = text(value);
    else if (head == "CODEC")
        m_written.codec = text(value);

    // The reader takes the value from the character after the "=" of the
    // key as the program writes it; a line with its "=" elsewhere, and
    // anything in that place, gives another value than meant.
    const std::size_t equals = key->position - 2;
    const bool misread = item.size() > equals && item[equals] != '=';
    if (key->numbered) {
        m_lastMisread[{head, number}] = misread;
        m_lastLine[{head, number}] = lineNumber;
    }
    else if (misread)
        m_written.misreadSettings.insert(head);
    if (!misread)
        return;

    const std::string line = text(item);
    const std::string meantKey = std::string(key->written) + (key->numbered ? numberText(number) : std::string()) + '=';
    static const std::map<std::string, const char *> what = {
        {"MOVIE", "movie %1's path"}, {"TITLE", "movie %1's title"}, {"MDISK", "movie %1's CD label"},
        {"THE_T", "the project title"}, {"COVER", "the cover"}, {"PLAYE", "the player installer"},
        {"CODEC", "the codec installer"}, {"CLOSE", "the close switch"},
    };
    const std::string read = fill(what.at(head), {std::to_string(number)}) + ' ' + quoted(text(value));
    std::size_t digits = 0;
    while (key->numbered && 5 + digits < item.size() && isDigit(item[5 + digits]))
        ++digits;
    if (digits > 2) {
        m_written.meantMovies.insert(digitsValue(std::string_view(item).substr(5, digits)));
        // What follows for the movie depends on whether a later line sets
        // the same value again.
        m_longNumbers.push_back({lineNumber, head, number, line, read});
        return;
    }
    const std::string says =
        fill(digits == 1 ? "Autorun.inf line %1: %2 has a one-digit number, and Vidorun takes the value from a fixed "
                           "place after two digits, so it reads %3; write %4"
                         : "Autorun.inf line %1: Vidorun reads %2 as %3, taking the value from a fixed place after "
                           "the key; write %4 with the value right after it, or reword a line that is no key",
             {std::to_string(lineNumber), line, read, meantKey});
    m_written.lineFindings.push_back({Severity::Error, 0, std::string(), says});
}

void Scan::cutItem(std::string_view content, const std::string &item, int lineNumber)
{
    // What the line says, against what the reader takes from it.
    std::string_view meant = content;
    if (meant.front() == '"') {
        meant.remove_prefix(1);
        if (!meant.empty() && meant.back() == '"')
            meant.remove_suffix(1);
    }
    if (meant == item)
        return;
    const std::size_t equals = item.find('=');
    const std::string key = text(std::string_view(item).substr(0, equals));
    const std::string kept = equals == std::string::npos ? std::string() : text(std::string_view(item).substr(equals + 1));
    const std::string dropped = meant.size() > item.size() && meant.substr(0, item.size()) == item
                                    ? text(meant.substr(item.size()))
                                    : text(meant);
    m_written.lineFindings.push_back(
        {Severity::Warning, 0, std::string(),
         fill("Autorun.inf line %1: Vidorun reads %2 as %3 and drops %4: a comma, or a double quote after the opening "
              "one, ends a value; put the whole line in double quotes and write any double quote inside it as '",
              {std::to_string(lineNumber), key, quoted(kept), quoted(dropped)})});
}

void Scan::finish()
{
    for (const LongNumber &misread : m_longNumbers) {
        const auto last = m_lastLine.find({misread.head, misread.number});
        std::string follows;
        if (last->second != misread.lineNumber)
            follows = fill("which line %1 sets again", {std::to_string(last->second)});
        else if (misread.head == "TITLE")
            follows = fill("which the list shows in movie %1's place", {std::to_string(misread.number)});
        else
            follows = fill("so movie %1 can never play", {std::to_string(misread.number)});
        m_written.lineFindings.push_back(
            {Severity::Error, 0, std::string(),
             fill("Autorun.inf line %1: Vidorun reads two digits of a key's number, so it takes %2 for %3, %4; a "
                  "project holds %5 movies at most",
                  {std::to_string(misread.lineNumber), misread.line, misread.read, follows,
                   std::to_string(MaxWrittenMovie)})});
    }
    for (const auto &[element, misread] : m_lastMisread) {
        if (!misread)
            continue;
        m_written.misreadMovies.insert(element.second);
        if (element.first == "MDISK")
            m_written.misreadLabels.insert(element.second);
    }
}

// Whether a line opens a double-quoted item that it does not close: the
// reader goes on through the lines after it for the closing quote, where
// Windows AutoRun and any other reader of the file see lines of their own.
bool quoteRunsOn(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i < line.size() && line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos)
                return true;
            i = close + 1;
        }
        const std::size_t comma = line.find(',', i);
        if (comma == std::string_view::npos)
            return false;
        i = comma + 1;
    }
    return false;
}

// Text in UTF-16, as old Notepad saves "Unicode": a byte-order mark of its
// own, or the NUL bytes that ASCII letters take in it.
bool looksLikeUtf16(std::string_view bytes)
{
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF"))
        return true;
    const std::string_view start = bytes.substr(0, 64);
    return start.size() >= 4 && std::size_t(std::count(start.begin(), start.end(), '\0')) * 4 >= start.size();
}

}  // namespace

AutorunText readAutorunText(std::string_view bytes, bool utf8)
{
    AutorunText written;
    written.empty = bytes.empty();
    if (looksLikeUtf16(bytes)) {
        written.unreadable = true;
        written.lineFindings.push_back(
            {Severity::Error, 0, std::string(),
             "Autorun.inf is written in UTF-16 (what Notepad called \"Unicode\"): Vidorun finds none of its keys and "
             "lists no movies, and Windows AutoRun finds no [autorun] section; save it as ANSI or UTF-8"});
        return written;
    }
    written.byteOrderMark = startsWith(bytes, ByteOrderMark);
    Scan scan(written, utf8);
    bool inAutorun = false;
    int lineNumber = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const std::string line(bytes.substr(start, end - start));
        ++lineNumber;
        start = end + ((end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ? 2 : 1);

        std::string_view content = trimmed(line);
        // Windows reads the [autorun] section behind the mark as well as in
        // the file's ANSI code page it can: the mark has its own finding.
        if (lineNumber == 1 && written.byteOrderMark)
            content = trimmed(content.substr(ByteOrderMark.size()));
        if (content.empty())
            continue;
        if (quoteRunsOn(line)) {
            written.lineFindings.push_back(
                {Severity::Error, 0, std::string(),
                 fill("Autorun.inf line %1: a value in double quotes runs on past the end of the line: Vidorun reads "
                      "the lines after it into the value, while Windows AutoRun and any other reader take them as "
                      "lines of their own (a line like [autorun] or shell\\...\\command= among them means what it "
                      "says to Windows); keep each value on one line",
                      {std::to_string(lineNumber)})});
        }
        if (content.front() == '[') {
            const std::size_t close = content.find(']');
            inAutorun = close != std::string_view::npos && asciiUpper(content.substr(1, close - 1)) == "AUTORUN";
            continue;
        }
        if (inAutorun) {
            const std::size_t equals = content.find('=');
            if (equals == std::string_view::npos)
                continue;
            const std::string key = asciiUpper(trimmed(content.substr(0, equals)));
            const std::string value = scan.text(trimmed(content.substr(equals + 1)));
            if (key == "OPEN" || (key == "SHELLEXECUTE" && !written.open))
                written.open = value;
            else if (key == "ICON")
                written.icon = value;
        }

        // A line without a comma or a double quote is one item, trimmed.
        const bool plain = line.find_first_of(",\"") == std::string::npos;
        std::vector<std::string> items;
        if (plain) {
            items.emplace_back(trimmed(line));
        } else {
            MemorySource source(line);
            ItemReader reader(source);
            while (!reader.atEnd())
                items.push_back(reader.next());
        }
        if (lineNumber == 1 && written.byteOrderMark && !items.empty())
            written.markHidesKey = projectKey(items.front().substr(std::min(items.front().size(), ByteOrderMark.size())));
        if (items.empty() || !projectKey(items.front()))
            continue;
        scan.projectItem(items.front(), lineNumber);
        if (!plain)
            scan.cutItem(content, items.front(), lineNumber);
    }
    scan.finish();
    return written;
}

ReadProjectFile readProjectFileBytes(std::string_view bytes)
{
    ReadProjectFile read;
    read.project.TitleCount = read.project.PathCount = read.project.CDCount = "0";
    MemorySource source{std::string(bytes)};
    readProjectItems(source, read.project);
    read.utf8 = isValidUtf8(bytes);
    read.written = readAutorunText(bytes, read.utf8);
    return read;
}

}  // namespace vidorun::check
