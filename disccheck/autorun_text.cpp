#include "disccheck/autorun_text.h"

#include "disccheck/check_context.h"
#include "projectfile/item_reader.h"
#include "projectfile/project_reader.h"
#include "projectfile/text_codec.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace vidorun::check {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    for (char &c : result)
        c = (c >= 'a' && c <= 'z') ? char(c - 0x20) : c;
    return result;
}

bool isProjectKey(const std::string &item)
{
    static const std::array<const char *, 8> keys = {"MOVIE", "TITLE", "MDISK", "THE_T",
                                                      "COVER", "PLAYE", "CODEC", "CLOSE"};
    const std::string head = upper(std::string_view(item).substr(0, 5));
    return std::any_of(keys.begin(), keys.end(), [&head](const char *key) { return head == key; });
}

}  // namespace

AutorunText readAutorunText(const QByteArray &bytes, bool utf8)
{
    AutorunText written;
    auto text = [utf8](std::string_view raw) { return decodeProjectText(std::string(raw), utf8); };
    bool inAutorun = false;
    int lineNumber = 0;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const std::string line(bytes.constData() + start, std::size_t(end - start));
        ++lineNumber;
        start = end + ((end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ? 2 : 1);

        const std::string_view content = trimmed(line);
        if (content.empty())
            continue;
        if (content.front() == '[') {
            const std::size_t close = content.find(']');
            inAutorun = close != std::string_view::npos && upper(content.substr(1, close - 1)) == "AUTORUN";
            continue;
        }
        if (inAutorun) {
            const std::size_t equals = content.find('=');
            if (equals == std::string_view::npos)
                continue;
            const std::string key = upper(trimmed(content.substr(0, equals)));
            const QString value = text(trimmed(content.substr(equals + 1)));
            if (key == "OPEN" || (key == "SHELLEXECUTE" && !written.open))
                written.open = value;
            else if (key == "ICON")
                written.icon = value;
        }

        // A line without a comma or a double quote is one item, trimmed.
        const bool plain = line.find_first_of(",\"") == std::string::npos;
        std::vector<std::string> items;
        if (plain) {
            items.emplace_back(content);
        } else {
            MemorySource source(line);
            ItemReader reader(source);
            while (!reader.atEnd())
                items.push_back(reader.next());
        }
        if (items.empty() || !isProjectKey(items.front()))
            continue;
        const std::string &item = items.front();
        auto valueFrom = [&item](std::size_t position) {
            return position - 1 < item.size() ? std::string_view(item).substr(position - 1) : std::string_view();
        };
        const std::string head = upper(std::string_view(item).substr(0, 5));
        if (head == "MOVIE") {
            const int number = keyNumber(item.size() > 5 ? std::string_view(item).substr(5, 2) : std::string_view());
            if (number >= 0 && number <= MaxMovieNumber)
                written.moviePaths[std::size_t(number)] = text(valueFrom(9));
        } else if (head == "COVER") {
            written.cover = text(valueFrom(7));
        } else if (head == "PLAYE") {
            written.player = text(valueFrom(8));
        } else if (head == "CODEC") {
            written.codec = text(valueFrom(7));
        }

        if (plain)
            continue;
        // What the line says, against what the reader takes from it.
        std::string_view meant = content;
        if (meant.front() == '"') {
            meant.remove_prefix(1);
            if (!meant.empty() && meant.back() == '"')
                meant.remove_suffix(1);
        }
        if (meant == item)
            continue;
        const std::size_t equals = item.find('=');
        const QString key = text(std::string_view(item).substr(0, equals));
        const QString kept = equals == std::string::npos ? QString() : text(std::string_view(item).substr(equals + 1));
        const QString dropped = meant.size() > item.size() && meant.substr(0, item.size()) == item
                                    ? text(meant.substr(item.size()))
                                    : text(meant);
        written.cutValues.push_back(
            {Severity::Warning, 0, QString(),
             QStringLiteral("Autorun.inf line %1: Vidorun reads %2 as %3 and drops %4: a comma, or a double quote "
                            "after the opening one, ends a value; put the whole line in double quotes and write "
                            "any double quote inside it as '")
                 .arg(lineNumber)
                 .arg(key, quoted(kept), quoted(dropped))});
    }
    return written;
}

}  // namespace vidorun::check
