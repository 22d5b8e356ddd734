#include "projectfile/project_writer.h"

#include "base/text.h"
#include "platform/code_page.h"
#include "projectfile/text_codec.h"

#include <algorithm>

namespace vidorun {

std::string movieNumber(int n)
{
    return {char('0' + n / 10), char('0' + n % 10)};
}

namespace {

// What the item reader would not give back as it was written: it ends an
// item at a comma and trims blanks and tabs from its end.
bool needsQuotes(const std::string &value)
{
    return contains(value, ",") || endsWith(value, " ") || endsWith(value, "\t");
}

}  // namespace

bool holdsLineBreak(const std::string &value)
{
    return value.find_first_of("\r\n") != std::string::npos;
}

std::string withoutLineBreaks(const std::string &value)
{
    if (!holdsLineBreak(value))
        return value;
    std::string flat = replaced(value, "\r\n", " ");
    std::replace(flat.begin(), flat.end(), '\r', ' ');
    std::replace(flat.begin(), flat.end(), '\n', ' ');
    return flat;
}

std::string projectLine(const std::string &key, const std::string &writtenValue)
{
    const std::string value = withoutLineBreaks(writtenValue);
    const std::string line = key + '=' + value;
    if (!needsQuotes(value))
        return line;
    std::string quoted = line;
    std::replace(quoted.begin(), quoted.end(), '"', '\'');
    return '"' + quoted + '"';
}

std::vector<std::string> projectFileLines(const Project &project)
{
    std::vector<std::string> lines = {
        "[autorun]",
        "OPEN=Vidorun.exe",
        "ICON=Vidorun.exe,0",
        "",
        "[vidorun]",
        projectLine("close", project.CloseAfterPlay.empty() ? "0" : project.CloseAfterPlay),
        projectLine("the_title", project.ProjectTitle),
        projectLine("cover", project.CoverPicturePath),
        projectLine("player", project.PlayerPath),
        projectLine("codec", project.CodecPath),
    };
    // TitleCount alone says how many movies there are; paths and CD labels
    // that were never filled are written empty.
    const int movies = std::min(counterValue(project.TitleCount), MaxWrittenMovie);
    for (int n = 1; n <= movies; ++n) {
        const std::string nn = movieNumber(n);
        const auto entry = std::size_t(n);
        lines.push_back(projectLine("movie" + nn, project.MoviePaths[entry]));
        lines.push_back(projectLine("title" + nn, project.MovieTitles[entry]));
        lines.push_back(projectLine("mdisk" + nn, project.MovieCDs[entry]));
    }
    return lines;
}

EncodedLines encodeProjectLines(const std::vector<std::string> &lines)
{
    EncodedLines encoded;
    std::string text, bytes;
    bool fits = true;
    for (const std::string &line : lines) {
        const std::string withEnd = line + "\r\n";
        const std::optional<std::string> lineBytes = encodeCodePage(withEnd);
        if (!lineBytes) {
            fits = false;
            break;
        }
        text += withEnd;
        bytes += *lineBytes;
        encoded.lines.push_back(*lineBytes);
    }
    // The reader takes a file that is UTF-8 as UTF-8, so code page bytes that
    // happen to be UTF-8 ("Ã©" is C3 A9) would come back as other text.
    if (fits && decodeProjectText(bytes, isValidUtf8(bytes)) == text)
        return encoded;

    encoded.encoding = FileEncoding::Utf8;
    encoded.lines.clear();
    for (const std::string &line : lines)
        encoded.lines.push_back(line + "\r\n");
    return encoded;
}

std::vector<std::string> composeProjectFile(const Project &project)
{
    return encodeProjectLines(projectFileLines(project)).lines;
}

std::string projectFileBytes(const Project &project)
{
    std::string bytes;
    for (const std::string &line : composeProjectFile(project))
        bytes += line;
    return bytes;
}

}  // namespace vidorun
