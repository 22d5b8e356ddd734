#include "projectfile/project_writer.h"

#include "projectfile/text_codec.h"

#include <algorithm>
#include <optional>

namespace vidorun {

QString movieNumber(int n)
{
    return QString(QChar(u'0' + n / 10)) + QChar(u'0' + n % 10);
}

namespace {

// What the item reader would not give back as it was written: it ends an
// item at a comma and trims blanks and tabs from its end.
bool needsQuotes(const QString &value)
{
    return value.contains(u',') || value.endsWith(u' ') || value.endsWith(u'\t');
}

std::optional<QByteArray> encodeCodePage(const QString &text)
{
#ifdef Q_OS_WIN
    // Characters the code page lacks come out as "?" or a look-alike; the
    // read-back test in encodeProjectLines catches both.
    return text.toLocal8Bit();
#else
    return encodeCp1252(text);
#endif
}

}  // namespace

bool holdsLineBreak(const QString &value)
{
    return value.contains(u'\r') || value.contains(u'\n');
}

QString withoutLineBreaks(const QString &value)
{
    if (!holdsLineBreak(value))
        return value;
    QString flat = value;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    flat.replace(u'\r', u' ');
    flat.replace(u'\n', u' ');
    return flat;
}

QString projectLine(const QString &key, const QString &writtenValue)
{
    const QString value = withoutLineBreaks(writtenValue);
    const QString line = key + u'=' + value;
    if (!needsQuotes(value))
        return line;
    QString quoted = line;
    quoted.replace(u'"', u'\'');
    return u'"' + quoted + u'"';
}

QStringList projectFileLines(const Project &project)
{
    QStringList lines = {
        QStringLiteral("[autorun]"),
        QStringLiteral("OPEN=Vidorun.exe"),
        QStringLiteral("ICON=Vidorun.exe,0"),
        QString(),
        QStringLiteral("[vidorun]"),
        projectLine(QStringLiteral("close"),
                    project.CloseAfterPlay.isEmpty() ? QStringLiteral("0") : project.CloseAfterPlay),
        projectLine(QStringLiteral("the_title"), project.ProjectTitle),
        projectLine(QStringLiteral("cover"), project.CoverPicturePath),
        projectLine(QStringLiteral("player"), project.PlayerPath),
        projectLine(QStringLiteral("codec"), project.CodecPath),
    };
    // TitleCount alone says how many movies there are; paths and CD labels
    // that were never filled are written empty.
    const int movies = std::min(counterValue(project.TitleCount), MaxWrittenMovie);
    for (int n = 1; n <= movies; ++n) {
        const QString nn = movieNumber(n);
        const auto entry = std::size_t(n);
        lines << projectLine(QStringLiteral("movie") + nn, project.MoviePaths[entry])
              << projectLine(QStringLiteral("title") + nn, project.MovieTitles[entry])
              << projectLine(QStringLiteral("mdisk") + nn, project.MovieCDs[entry]);
    }
    return lines;
}

EncodedLines encodeProjectLines(const QStringList &lines)
{
    EncodedLines encoded;
    QString text;
    QByteArray bytes;
    bool fits = true;
    for (const QString &line : lines) {
        const QString withEnd = line + QStringLiteral("\r\n");
        std::optional<QByteArray> lineBytes = encodeCodePage(withEnd);
        if (!lineBytes) {
            fits = false;
            break;
        }
        text += withEnd;
        bytes += *lineBytes;
        encoded.lines << *lineBytes;
    }
    // The reader takes a file that is UTF-8 as UTF-8, so code page bytes that
    // happen to be UTF-8 ("Ã©" is C3 A9) would come back as other text.
    if (fits && decodeProjectText(bytes.toStdString(), isValidUtf8(bytes)) == text)
        return encoded;

    encoded.encoding = FileEncoding::Utf8;
    encoded.lines.clear();
    for (const QString &line : lines)
        encoded.lines << (line + QStringLiteral("\r\n")).toUtf8();
    return encoded;
}

QByteArrayList composeProjectFile(const Project &project)
{
    return encodeProjectLines(projectFileLines(project)).lines;
}

}  // namespace vidorun
