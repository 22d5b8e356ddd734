#include "disccheck/disc_check.h"

#include "app/project.h"
#include "disccheck/disc_index.h"
#include "playback/play_logic.h"
#include "projectfile/item_reader.h"
#include "projectfile/letter_case.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "projectfile/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <numeric>
#include <set>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vidorun {

namespace {

// A project file of 99 movies is some 10 kB; anything near this is no project.
constexpr qint64 MaxProjectFileBytes = 16 * 1024 * 1024;
// What a disc burned with Rock Ridge and Joliet names (genisoimage -R -J) or
// a FAT32 stick holds.
constexpr int JolietMaxName = 64;
constexpr int JolietMaxPathBytes = 240;
constexpr int IsoMaxFolderLevels = 8;
constexpr qint64 Fat32MaxFileBytes = 4294967295LL;
// File-system findings of one kind beyond this many are counted, not listed.
constexpr int ListedPerKind = 5;

// A movie's number as its keys carry it: "01", and "100" past them.
QString numberText(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.c_str(), qsizetype(text.size()));
}

QString windowsPath(QString path)
{
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

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

// Opens a file listed as a regular file, for reading, without ever waiting:
// should it have become a pipe since, the open does not block and the check
// of what was opened refuses it.
std::unique_ptr<QFile> openRegularFile(const QString &path, QString *reason = nullptr)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    struct stat info;
    auto file = std::make_unique<QFile>();
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (reason)
            *reason = QStringLiteral("not a regular file");
        return nullptr;
    }
    return file;
#else
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file->errorString();
        return nullptr;
    }
    return file;
#endif
}

QString permissionText(QFileDevice::Permissions p)
{
    QString text;
    const std::array<std::pair<QFileDevice::Permission, char>, 9> bits = {{
        {QFileDevice::ReadOwner, 'r'}, {QFileDevice::WriteOwner, 'w'}, {QFileDevice::ExeOwner, 'x'},
        {QFileDevice::ReadGroup, 'r'}, {QFileDevice::WriteGroup, 'w'}, {QFileDevice::ExeGroup, 'x'},
        {QFileDevice::ReadOther, 'r'}, {QFileDevice::WriteOther, 'w'}, {QFileDevice::ExeOther, 'x'},
    }};
    for (const auto &[bit, letter] : bits)
        text += p.testFlag(bit) ? QLatin1Char(letter) : QLatin1Char('-');
    return text;
}

// The path's components as Windows takes them: either separator, "." gone,
// ".." taking back the one before.
QStringList components(const QString &path)
{
    QStringList parts;
    QString straight = path;
    straight.replace(QLatin1Char('\\'), QLatin1Char('/'));
    for (const QString &part : straight.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..") && !parts.isEmpty() && parts.last() != part)
            parts.removeLast();
        else if (part != QLatin1String("."))
            parts << part;
    }
    return parts;
}

// The values as Autorun.inf spells them. The reader upper-cases every path;
// what the author wrote is what a path is compared with the disc's names by.
// The [autorun] lines, which only Windows reads, are kept here too.
struct WrittenText {
    std::array<QString, MovieTableSize> moviePaths;
    QString cover, player, codec;
    std::optional<QString> open, icon;
    std::vector<Finding> cutValues;  // values the reader takes only in part
};

bool isProjectKey(const std::string &item)
{
    static const std::array<const char *, 8> keys = {"MOVIE", "TITLE", "MDISK", "THE_T",
                                                      "COVER", "PLAYE", "CODEC", "CLOSE"};
    const std::string head = upper(std::string_view(item).substr(0, 5));
    return std::any_of(keys.begin(), keys.end(), [&head](const char *key) { return head == key; });
}

// Goes through Autorun.inf a line at a time. Each line is read by the
// program's own item reader, so quotes and commas mean what they mean to it.
WrittenText scanLines(const QByteArray &bytes, bool utf8)
{
    WrittenText written;
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

// Where a path written in the project leads.
struct Place {
    enum Kind { Disc, Drive, ThisComputer, Outside, Network } kind = Disc;
    QString fromRoot;  // the part to look up on the disc
};

// What the check knows of a file the program opens.
struct FileUse {
    int movie = 0;
    QString title;
    QString lead;       // "the cover " and so on; empty for a movie
    QString written;    // the path as Autorun.inf spells it
    QString read;       // the path as the program reads it
};

class Checker {
public:
    Checker(const QString &root, const DiscCheckOptions &options)
        : m_options(options), m_rootShown(QFileInfo(root).absoluteFilePath()), m_index(root)
    {
    }

    DiscCheckReport run();

private:
    void add(Severity severity, const QString &text, int movie = 0, const QString &title = QString())
    {
        m_report.findings.push_back({severity, movie, title, text});
    }
    void add(const FileUse &use, Severity severity, const QString &text)
    {
        add(severity, use.lead + text, use.movie, use.title);
    }

    bool readProject();
    void checkCounts();
    void checkAutorunSection();
    void findThisDisc();
    void checkMovies();
    void checkSettings();
    int checkFile(const FileUse &use);
    void checkCodePage(const QString &subject, const QString &text, const FileUse *use);
    bool readableByAll(int entry, const QString &lead, const FileUse *use);
    QString missingReason(const std::string &resolved) const;
    Place placeOf(const QString &written) const;
    void checkCover(const FileUse &use, int entry);
    void checkTree();
    void noteLinuxAutorun();
    void countImage();

    void markUsed(int entry)
    {
        for (int e = entry; e >= 0 && !m_used.count(e); e = m_index.at(e).parent)
            m_used.insert(e);
    }
    QString absolutePath(int entry) const
    {
        return m_index.canonicalRoot() + QLatin1Char('/') + m_index.at(entry).shownPath();
    }

    const DiscCheckOptions &m_options;
    QString m_rootShown;
    DiscIndex m_index;
    DiscCheckReport m_report;
    Project m_project;
    WrittenText m_written;
    bool m_utf8 = true;
    // The entries the program opens on this disc, and the folders holding them.
    std::set<int> m_used;
};

DiscCheckReport Checker::run()
{
    const QFileInfo rootInfo(m_rootShown);
    if (!rootInfo.exists())
        m_report.failure = QStringLiteral("no such folder");
    else if (!rootInfo.isDir())
        m_report.failure = QStringLiteral("not a folder");
    else if (!m_index.at(0).listed)
        m_report.failure = QStringLiteral("the folder can't be read (no permission)");
    if (!m_report.failure.isEmpty() || !readProject())
        return m_report;

    checkCounts();
    for (Finding &cut : m_written.cutValues)
        m_report.findings.push_back(std::move(cut));
    checkAutorunSection();
    findThisDisc();
    checkMovies();
    checkSettings();
    checkTree();
    noteLinuxAutorun();
    countImage();
    return m_report;
}

bool Checker::readProject()
{
    // Found as the program finds it at start: "Autorun.inf" in any letter case.
    const int entry = m_index.find(m_index.resolve(QStringLiteral("Autorun.inf")));
    if (entry < 0) {
        m_report.failure = QStringLiteral("no Autorun.inf on its root, in any letter case: not a Vidorun disc, "
                                          "or not its root");
        return false;
    }
    const DiscEntry &found = m_index.at(entry);
    const int file = m_index.followed(entry);
    if (found.kind == EntryKind::Link && !found.linkInside) {
        m_report.failure = QStringLiteral("%1 is a link that leads outside the folder").arg(found.shownPath());
        return false;
    }
    if (m_index.at(file).kind != EntryKind::File) {
        m_report.failure = QStringLiteral("%1 is not a file").arg(found.shownPath());
        return false;
    }
    if (m_index.at(file).size > MaxProjectFileBytes) {
        m_report.failure = QStringLiteral("%1 is %2 bytes, far more than any project: not read")
                               .arg(found.shownPath())
                               .arg(m_index.at(file).size);
        return false;
    }
    QString reason;
    const std::unique_ptr<QFile> opened = openRegularFile(absolutePath(file), &reason);
    if (!opened) {
        m_report.failure = QStringLiteral("%1 can't be read: %2").arg(found.shownPath(), reason);
        return false;
    }
    const QByteArray bytes = opened->read(MaxProjectFileBytes);
    markUsed(entry);
    markUsed(file);
    readableByAll(file, QString(), nullptr);

    // Counters start at "0", as the program's start-up sets them.
    m_project.TitleCount = m_project.PathCount = m_project.CDCount = QStringLiteral("0");
    MemorySource source(bytes.toStdString());
    readProjectItems(source, m_project);
    m_utf8 = isValidUtf8(bytes);
    m_written = scanLines(bytes, m_utf8);
    return true;
}

// The facts the program's start-up checks, and movies it would list empty
// or never list.
void Checker::checkCounts()
{
    const Project &p = m_project;
    if (p.PathCount != p.TitleCount || p.CDCount != p.PathCount) {
        add(Severity::Error,
            QStringLiteral("Autorun.inf counts %1 movie titles, %2 paths and %3 CD labels: Vidorun reports an "
                           "error at every start; give each movie one movieNN, titleNN and mdiskNN line")
                .arg(p.TitleCount, p.PathCount, p.CDCount));
    }
    const int counted = counterValue(p.TitleCount);
    if (counted > MaxWrittenMovie) {
        add(Severity::Error,
            QStringLiteral("Autorun.inf counts %1 movies, more than the %2 its two-digit keys can number: some "
                           "keys come twice, and Vidorun lists movies that are not there")
                .arg(counted)
                .arg(MaxWrittenMovie));
    }
    const int listed = listableMovies(p);
    for (int n = 1; n <= listed; ++n) {
        const auto e = std::size_t(n);
        const QString nn = numberText(n);
        if (p.MoviePaths[e].isEmpty() && p.MovieTitles[e].isEmpty() && p.MovieCDs[e].isEmpty()) {
            add(Severity::Error,
                QStringLiteral("is missing: Autorun.inf counts %1 movies but has no movie%2, title%2 or mdisk%2 "
                               "line; Vidorun lists an empty line for it")
                    .arg(listed)
                    .arg(nn),
                n);
            continue;
        }
        if (p.MoviePaths[e].isEmpty())
            add(Severity::Error, QStringLiteral("has no movie file: write movie%1").arg(nn), n, p.MovieTitles[e]);
        if (p.MovieTitles[e].isEmpty())
            add(Severity::Warning, QStringLiteral("has no title: the list shows an empty line; write title%1").arg(nn), n);
        if (p.MovieCDs[e].isEmpty())
            add(Severity::Error,
                QStringLiteral("has no CD label: Vidorun asks for a disc labelled '' and never plays it; write "
                               "mdisk%1")
                    .arg(nn),
                n, p.MovieTitles[e]);
    }
    QStringList unlisted;
    for (int n = 0; n <= MaxMovieNumber; ++n) {
        const auto e = std::size_t(n);
        if ((n == 0 || n > listed)
            && !(p.MoviePaths[e].isEmpty() && p.MovieTitles[e].isEmpty() && p.MovieCDs[e].isEmpty()))
            unlisted << numberText(n);
    }
    if (!unlisted.isEmpty()) {
        add(Severity::Warning,
            QStringLiteral("Autorun.inf has lines for movie %1, which Vidorun never lists: it lists %2; number "
                           "the movies from 01 without gaps")
                .arg(unlisted.join(QStringLiteral(", ")),
                     listed == 0 ? QStringLiteral("none, as it counts no movies")
                                 : QStringLiteral("movies 01 to ") + numberText(listed)));
    }
}

// The [autorun] section only matters to Windows. A disc is for Windows when
// its root holds a Windows program or library; then a missing program is an
// error. A disc without any is for Linux viewers, who start vidorun
// themselves, and the section is only noted.
void Checker::checkAutorunSection()
{
    QString windowsFile;
    for (const int child : m_index.at(0).children) {
        const DiscEntry &entry = m_index.at(child);
        const QString name = fromUtf8(entry.name);
        if (m_index.at(m_index.followed(child)).kind == EntryKind::File
            && (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)
                || name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))) {
            windowsFile = name;
            break;
        }
    }
    const bool forWindows = !windowsFile.isEmpty();
    auto isFileHere = [this](const QString &path) {
        const int entry = m_index.find(m_index.resolve(path));
        return entry >= 0 && m_index.at(m_index.followed(entry)).kind == EntryKind::File;
    };

    if (!m_written.open || m_written.open->isEmpty()) {
        if (forWindows) {
            add(Severity::Error, QStringLiteral("Autorun.inf has no open= line under [autorun]: Windows offers no "
                                                "program to start from this disc; write OPEN=Vidorun.exe"));
        } else {
            add(Severity::Note, QStringLiteral("Autorun.inf has no open= line under [autorun]; only Windows reads "
                                               "it, and this disc holds no Windows program"));
        }
    } else {
        // The program is the first word, or the quoted part, of the command.
        QString program = *m_written.open;
        if (program.startsWith(QLatin1Char('"')))
            program = program.mid(1).section(QLatin1Char('"'), 0, 0);
        else
            program = program.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('\t'), 0, 0);
        if (isFileHere(program)) {
            markUsed(m_index.find(m_index.resolve(program)));
        } else if (forWindows) {
            add(Severity::Error,
                QStringLiteral("[autorun] open=%1: %2 is not on this disc, which holds Windows files (%3): "
                               "Windows viewers get no menu; put %2 on the root")
                    .arg(*m_written.open, program, windowsFile));
        } else {
            add(Severity::Note,
                QStringLiteral("[autorun] open=%1: %2 is not on this disc, nor any other Windows program (no .exe "
                               "or .dll on the root): a disc for Linux viewers, who start vidorun themselves; for "
                               "Windows viewers put %2 on the root (make windows builds it)")
                    .arg(*m_written.open, program));
        }
    }

    if (!forWindows)
        return;
    if (!m_written.icon || m_written.icon->isEmpty()) {
        add(Severity::Warning, QStringLiteral("Autorun.inf has no icon= line under [autorun]: Explorer shows this "
                                              "disc without Vidorun's icon; write ICON=Vidorun.exe,0"));
    } else {
        const QString iconFile = m_written.icon->section(QLatin1Char(','), 0, 0).trimmed();
        if (!isFileHere(iconFile)) {
            add(Severity::Warning,
                QStringLiteral("[autorun] icon=%1: %2 is not on this disc: Explorer shows the disc without its icon")
                    .arg(*m_written.icon, iconFile));
        }
    }
}

// Which CD this is: the labels whose marker file the program finds on the root.
void Checker::findThisDisc()
{
    const int listed = listableMovies(m_project);
    QStringList markers;
    for (int n = 1; n <= listed; ++n) {
        const QString &label = m_project.MovieCDs[std::size_t(n)];
        auto it = std::find_if(m_report.labels.begin(), m_report.labels.end(),
                               [&label](const LabelCount &count) { return count.label == label; });
        if (it == m_report.labels.end()) {
            m_report.labels.push_back({label, 0, false});
            it = m_report.labels.end() - 1;
        }
        ++it->movies;
        ++m_report.movies;
    }
    for (LabelCount &count : m_report.labels) {
        const QString marker = markerFileName(count.label);
        markers << marker;
        const int entry = m_index.find(m_index.resolve(marker));
        if (entry < 0)
            continue;
        const int file = m_index.followed(entry);
        if (m_index.at(file).kind != EntryKind::File) {
            add(Severity::Error, QStringLiteral("the marker %1 is not a file: Vidorun does not take it as the marker "
                                                "of %2; put an empty file of that name here")
                                     .arg(m_index.at(entry).shownPath(), count.label));
            continue;
        }
        count.here = true;
        m_report.labelsHere << count.label;
        markUsed(entry);
        markUsed(file);
        readableByAll(file, QStringLiteral("the marker "), nullptr);
        checkCodePage(QStringLiteral("the label ") + count.label, count.label, nullptr);
    }
    if (!m_report.labelsHere.isEmpty() || m_report.labels.empty())
        return;

    // Files that look like markers but belong to no label, as a typing
    // mistake leaves them.
    QStringList strays;
    for (const int child : m_index.at(0).children) {
        const QString name = fromUtf8(m_index.at(child).name);
        if (name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
            strays << name;
    }
    const QString strayText =
        strays.isEmpty()       ? QString()
        : strays.size() == 1   ? QStringLiteral(" (%1 is here, but no movie has its label)").arg(strays.front())
                               : QStringLiteral(" (%1 are here, but no movie has their labels)")
                                   .arg(strays.join(QStringLiteral(", ")));
    if (m_report.labels.size() == 1) {
        const QString &label = m_report.labels.front().label;
        m_report.labelAssumed = true;
        m_report.labels.front().here = true;
        m_report.labelsHere << label;
        add(Severity::Error, QStringLiteral("no marker file on the root: every title asks for the disc labelled "
                                            "%1 (\"Wrong CD!\"); put an empty %2 here%3")
                                 .arg(label, markers.front(), strayText));
    } else {
        add(Severity::Error, QStringLiteral("no marker file on the root, so this disc is none of the project's: "
                                            "every title asks for its disc (\"Wrong CD!\"); put the marker of this "
                                            "disc's label here, one of %1%2")
                                 .arg(markers.join(QStringLiteral(", ")), strayText));
    }
}

void Checker::checkMovies()
{
    const int listed = listableMovies(m_project);
    for (int n = 1; n <= listed; ++n) {
        const auto e = std::size_t(n);
        if (m_project.MoviePaths[e].isEmpty() || !m_report.labelsHere.contains(m_project.MovieCDs[e]))
            continue;
        FileUse use;
        use.movie = n;
        use.title = m_project.MovieTitles[e];
        use.read = m_project.MoviePaths[e];
        use.written = m_written.moviePaths[e];
        checkFile(use);
    }
}

void Checker::checkSettings()
{
    struct Setting {
        const char *lead;
        const QString &read;
        const QString &written;
    };
    const std::array<Setting, 3> settings = {{
        {"the cover ", m_project.CoverPicturePath, m_written.cover},
        {"the player installer ", m_project.PlayerPath, m_written.player},
        {"the codec installer ", m_project.CodecPath, m_written.codec},
    }};
    for (const Setting &setting : settings) {
        if (setting.read.isEmpty())
            continue;
        FileUse use;
        use.lead = QLatin1String(setting.lead);
        use.read = setting.read;
        use.written = setting.written;
        const int entry = checkFile(use);
        if (entry >= 0 && &setting == &settings.front())
            checkCover(use, entry);
    }
}

Place Checker::placeOf(const QString &written) const
{
    auto isSeparator = [](QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); };
    if (written.size() >= 2 && isSeparator(written[0]) && isSeparator(written[1]))
        return {Place::Network, QString()};
    if (written.startsWith(QLatin1Char('/'))) {
        // A path of the author's computer, as its file dialog gives it. The
        // reader upper-cases it, and the program finds it in any case.
        for (const QString &root : {m_rootShown, m_index.canonicalRoot()}) {
            const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
            if (written.startsWith(prefix, Qt::CaseInsensitive))
                return {Place::ThisComputer, written.mid(prefix.size())};
        }
        return {Place::Outside, QString()};
    }
    if (written.size() >= 2 && written[1] == QLatin1Char(':') && written[0].isLetter() && written[0].unicode() < 0x80) {
        QString rest = written.mid(2);
        while (!rest.isEmpty() && isSeparator(rest.front()))
            rest.remove(0, 1);
        return {Place::Drive, rest};
    }
    return {Place::Disc, written};
}

// Why a path the lookup kept (in part) as written names nothing on the disc.
QString Checker::missingReason(const std::string &resolved) const
{
    const QStringList parts = fromUtf8(resolved).split(QLatin1Char('/'));
    std::string path;
    QString where = QStringLiteral("on the root");
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::string name = parts[i].toUtf8().toStdString();
        const std::string next = path.empty() ? name : path + '/' + name;
        const int entry = m_index.find(next);
        if (entry < 0)
            return QStringLiteral("no %1 %2").arg(parts[i], where);
        const DiscEntry &found = m_index.at(entry);
        if (i + 1 < parts.size()) {
            if (found.kind == EntryKind::Link)
                return QStringLiteral("%1 is a link, which a disc's Joliet names (what Windows reads) do not keep; "
                                      "put the folder itself there")
                    .arg(found.shownPath());
            if (found.kind != EntryKind::Folder)
                return QStringLiteral("%1 is no folder").arg(found.shownPath());
            if (!found.listed)
                return QStringLiteral("%1 can't be read").arg(found.shownPath());
        }
        path = next;
        where = QStringLiteral("in ") + fromUtf8(path);
    }
    return QStringLiteral("no such file");
}

// A file the program opens must be readable by whoever views the disc: a
// disc burned with Rock Ridge names keeps the owner's permissions, and so
// does a copy on a stick formatted for Linux.
bool Checker::readableByAll(int entry, const QString &lead, const FileUse *use)
{
    const DiscEntry &file = m_index.at(entry);
    QString text;
    if (!file.permissions.testFlag(QFileDevice::ReadOther)) {
        text = QStringLiteral("%1 can't be read by every user (%2): a disc burned with Rock Ridge names keeps "
                              "that, and viewers on Linux can't open it; chmod a+r it, or burn with genisoimage -r")
                   .arg(file.shownPath(), permissionText(file.permissions));
    }
    for (int folder = file.parent; text.isEmpty() && folder > 0; folder = m_index.at(folder).parent) {
        const DiscEntry &on = m_index.at(folder);
        if (!on.permissions.testFlag(QFileDevice::ExeOther)) {
            text = QStringLiteral("%1 lies in %2, which not every user may enter (%3): viewers on Linux can't "
                                  "open it; chmod a+rx %2, or burn with genisoimage -r")
                       .arg(file.shownPath(), on.shownPath(), permissionText(on.permissions));
        }
    }
    if (text.isEmpty())
        return true;
    if (use)
        add(*use, Severity::Error, text);
    else
        add(Severity::Error, lead + text);
    return false;
}

// A project path with letters beyond ASCII, in a file the reader takes as
// Windows-1252: Windows reads such a file in its own code page, and so does
// the program on a Windows system whose code page is another.
void Checker::checkCodePage(const QString &subject, const QString &text, const FileUse *use)
{
    if (m_utf8)
        return;
    const auto beyond = std::find_if(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; });
    if (beyond == text.end())
        return;
    const QString message =
        QStringLiteral("%1 has \"%2\", which Autorun.inf holds as a Windows-1252 byte: on a Windows system with "
                       "another code page (Central European, Cyrillic, Greek, Asian) Vidorun reads another letter "
                       "and finds no such file; name it in ASCII letters")
            .arg(subject, QString(*beyond));
    if (use)
        add(*use, Severity::Warning, message);
    else
        add(Severity::Warning, message);
}

// Checks one file the program opens, as the viewer's copy of the program
// would find it; answers the entry of the file found, -1 when there is none.
int Checker::checkFile(const FileUse &given)
{
    FileUse use = given;
    // What the author wrote, as long as it is what the reader made of it.
    const QString written = windowsUpper(use.written) == use.read ? use.written : use.read;
    use.written = written;

    const Place place = placeOf(written);
    switch (place.kind) {
    case Place::Network:
        add(use, Severity::Error, QStringLiteral("%1 is a network path, not a file on this disc: the viewer can't "
                                                 "reach it; put the file on the disc and write its path from the "
                                                 "disc's root")
                                      .arg(written));
        return -1;
    case Place::Outside:
        add(use, Severity::Error, QStringLiteral("%1 is a file of this computer, outside the disc: the viewer "
                                                 "doesn't have it; put the file on the disc and write its path from "
                                                 "the disc's root")
                                      .arg(written));
        return -1;
    default:
        break;
    }

    const std::string resolved = m_index.resolve(place.kind == Place::ThisComputer ? windowsUpper(place.fromRoot) : use.read);
    if (resolved == ".." || resolved.compare(0, 3, "../") == 0) {
        add(use, Severity::Error, QStringLiteral("%1 leads out of the disc (through ..): the viewer doesn't have "
                                                 "it; write the file's path from the disc's root")
                                      .arg(written));
        return -1;
    }
    const int entry = resolved == "." ? 0 : m_index.find(resolved);
    if (entry < 0) {
        add(use, Severity::Error, QStringLiteral("%1 is not on this disc (%2)").arg(written, missingReason(resolved)));
        return -1;
    }

    const DiscEntry &found = m_index.at(entry);
    markUsed(entry);
    if (place.kind == Place::Drive) {
        add(use, Severity::Warning, QStringLiteral("%1 names drive %2, which the viewer's drive may not get; write %3")
                                        .arg(written, written.left(2), windowsPath(place.fromRoot)));
    } else if (place.kind == Place::ThisComputer) {
        add(use, Severity::Warning, QStringLiteral("%1 is a path of this computer, and the viewer's system mounts "
                                                   "the disc elsewhere; write %2")
                                        .arg(written, windowsPath(place.fromRoot)));
    }

    int file = entry;
    if (found.kind == EntryKind::Link) {
        if (!found.linkInside) {
            add(use, Severity::Error,
                QStringLiteral("%1 is a link that leads outside the disc (%2): the viewer doesn't have it; put the "
                               "file itself there")
                    .arg(written, found.linkTarget.isEmpty() ? QStringLiteral("to nothing")
                                                             : QStringLiteral("to ") + found.linkTarget));
            return -1;
        }
        file = m_index.followed(entry);
        markUsed(file);
        if (m_index.at(file).kind != EntryKind::File) {
            const QString target = found.linkTarget == m_index.canonicalRoot()
                                       ? QStringLiteral("the disc's root")
                                       : found.linkTarget.mid(m_index.canonicalRoot().size() + 1);
            add(use, Severity::Error, QStringLiteral("%1 is a link to %2, which is no file").arg(written, target));
            return -1;
        }
        add(use, Severity::Warning,
            QStringLiteral("%1 is a link to %2: a disc's Joliet names (what Windows reads) keep no links; put the "
                           "file itself there, or burn with genisoimage -f")
                .arg(written, m_index.at(file).shownPath()));
    } else if (found.kind == EntryKind::Folder) {
        add(use, Severity::Error, QStringLiteral("%1 is a folder, not a file").arg(written));
        return -1;
    } else if (found.kind != EntryKind::File) {
        add(use, Severity::Error, QStringLiteral("%1 is a special file (a pipe, socket or device), not a file: "
                                                 "Vidorun does not open it")
                                      .arg(written));
        return -1;
    }
    if (!readableByAll(file, QString(), &use))
        return -1;

    // The lookup found the file by letter case where the written path
    // differs: Windows ignores case, and so does the program's own lookup on
    // Linux, but a program on Linux that takes the path as written does not.
    const QString onDisc = fromUtf8(resolved);
    const std::string asWritten =
        components(place.kind == Place::Disc ? written : place.fromRoot).join(QLatin1Char('/')).toUtf8().toStdString();
    if (asWritten != resolved && fileNameFoldUtf8(asWritten) == fileNameFoldUtf8(resolved)) {
        add(use, Severity::Warning,
            QStringLiteral("%1 is %2 on this disc, in another letter case: fine on Windows and for Vidorun on "
                           "Linux, but other programs on Linux will not find it as written; write %3, or name "
                           "the file %4")
                .arg(written, onDisc, windowsPath(onDisc), fromUtf8(asWritten)));
    }
    checkCodePage(written, written, &use);
    return file;
}

void Checker::checkCover(const FileUse &use, int entry)
{
    if (!m_options.probePicture)
        return;
    const std::unique_ptr<QFile> file = openRegularFile(absolutePath(entry));
    if (!file)
        return;
    const std::optional<PictureHeader> header = m_options.probePicture(*file);
    if (!header) {
        add(use, Severity::Error, QStringLiteral("%1 is no picture Vidorun can show: the window shows \"There "
                                                 "is no picture loaded!\" instead; use a JPEG")
                                      .arg(use.written));
        return;
    }
    const QSize size = header->size;
    if (m_options.maxPicturePixels > 0
        && qint64(size.width()) * size.height() > m_options.maxPicturePixels) {
        add(use, Severity::Error, QStringLiteral("%1 is %2 x %3 pixels, more than the %4 pixels Vidorun decodes: "
                                                 "the window shows \"There is no picture loaded!\" instead; make it smaller")
                                      .arg(use.written)
                                      .arg(size.width())
                                      .arg(size.height())
                                      .arg(QLocale(QLocale::English).toString(m_options.maxPicturePixels)));
    }
}

// What a disc burned with Rock Ridge and Joliet names (the README's
// genisoimage -R -J) and a FAT32 stick can hold, for every entry of the
// disc. A limit that changes or hides a file the program opens is an error;
// elsewhere it is a warning.
void Checker::checkTree()
{
    enum Kind { SameName, LongName, BadCharacter, Deep, LongPath, Big, Special, LinkOut, Unreadable, Kinds };
    static const std::array<const char *, Kinds> moreText = {
        "names that differ only in letter case", "names longer than 64 characters",
        "names with characters Windows or Joliet can't hold", "folders deeper than 8 levels",
        "paths longer than 240 bytes", "files over 4 GiB - 1", "special files", "links leading out of the disc",
        "folders that can't be read"};
    std::array<int, Kinds> counted{};
    std::array<bool, Kinds> moreErrors{};
    auto report = [&](Kind kind, Severity severity, const QString &text) {
        if (++counted[kind] <= ListedPerKind)
            add(severity, text);
        else
            moreErrors[kind] = moreErrors[kind] || severity == Severity::Error;
    };
    auto serious = [this](int entry) { return m_used.count(entry) ? Severity::Error : Severity::Warning; };

    // Windows and Joliet names keep one of two names that differ only in case.
    for (std::size_t folder = 0; folder < m_index.entries().size(); ++folder) {
        std::map<std::string, int> seen;
        for (const int child : m_index.entries()[folder].children) {
            const auto [it, fresh] = seen.emplace(fileNameFoldUtf8(m_index.at(child).name), child);
            if (!fresh) {
                report(SameName, Severity::Error,
                       QStringLiteral("%1 and %2 differ only in letter case: Windows and a disc's Joliet names keep "
                                      "only one of them; rename or remove one")
                           .arg(m_index.at(it->second).shownPath(), m_index.at(child).shownPath()));
            }
        }
    }

    std::vector<int> order(m_index.entries().size() - 1);
    std::iota(order.begin(), order.end(), 1);
    std::sort(order.begin(), order.end(), [this](int a, int b) { return m_index.at(a).path < m_index.at(b).path; });
    for (const int e : order) {
        const DiscEntry &entry = m_index.at(e);
        const QString path = entry.shownPath();
        const QString name = fromUtf8(entry.name);
        if (name.size() > JolietMaxName) {
            report(LongName, serious(e),
                   QStringLiteral("%1 has a name of %2 characters: a disc's Joliet names (what Windows reads) keep "
                                  "%3, so Windows sees another name; shorten it")
                       .arg(path)
                       .arg(name.size())
                       .arg(JolietMaxName));
        }
        const auto bad = std::find_if(name.begin(), name.end(), [](QChar c) {
            return c.unicode() < 0x20 || c.isSurrogate() || QStringLiteral("*/:;?\\<>\"|").contains(c);
        });
        if (bad != name.end()) {
            const QString shown = bad->unicode() < 0x20 ? QStringLiteral("a control character")
                                  : bad->isSurrogate() ? QStringLiteral("a character beyond U+FFFF")
                                                       : QLatin1Char('\'') + *bad + QLatin1Char('\'');
            report(BadCharacter, serious(e),
                   QStringLiteral("%1 has %2 in its name, which Windows or a disc's Joliet names can't hold; "
                                  "rename it")
                       .arg(path, shown));
        }
        if (entry.kind == EntryKind::Folder && entry.depth == IsoMaxFolderLevels) {
            report(Deep, serious(e),
                   QStringLiteral("%1 is folder level %2, deeper than the %3 of ISO 9660: genisoimage moves it "
                                  "aside (rr_moved) for readers without Rock Ridge names; keep within %3 levels")
                       .arg(path)
                       .arg(entry.depth + 1)
                       .arg(IsoMaxFolderLevels));
        }
        if (entry.path.size() > JolietMaxPathBytes
            && (entry.parent <= 0 || m_index.at(entry.parent).path.size() <= JolietMaxPathBytes)) {
            report(LongPath, serious(e),
                   QStringLiteral("%1 is a path of %2 bytes, more than the %3 a disc's Joliet names hold; shorten "
                                  "the names on its way")
                       .arg(path)
                       .arg(entry.path.size())
                       .arg(JolietMaxPathBytes));
        }
        if (entry.kind == EntryKind::File && entry.size > Fat32MaxFileBytes) {
            report(Big, Severity::Warning,
                   QStringLiteral("%1 is %2 bytes, more than the 4 GiB - 1 a file may have on a FAT32 stick, or "
                                  "on a disc burned without -iso-level 3")
                       .arg(path, QLocale(QLocale::English).toString(entry.size)));
        }
        if (entry.kind == EntryKind::Special && !m_used.count(e)) {
            report(Special, Severity::Warning,
                   QStringLiteral("%1 is a special file (a pipe, socket or device), which a disc can't hold; "
                                  "remove it")
                       .arg(path));
        }
        if (entry.kind == EntryKind::Link && !entry.linkInside && !m_used.count(e)) {
            report(LinkOut, Severity::Warning,
                   QStringLiteral("%1 is a link that leads outside the disc (%2): on the disc it leads nowhere; "
                                  "remove it, or put the file itself there")
                       .arg(path, entry.linkTarget.isEmpty() ? QStringLiteral("to nothing")
                                                             : QStringLiteral("to ") + entry.linkTarget));
        }
        if (entry.kind == EntryKind::Folder && !entry.listed) {
            report(Unreadable, Severity::Error,
                   QStringLiteral("%1 can't be read: not checked, and genisoimage can't read it either").arg(path));
        }
    }
    for (int kind = 0; kind < Kinds; ++kind) {
        if (counted[std::size_t(kind)] > ListedPerKind) {
            add(moreErrors[std::size_t(kind)] ? Severity::Error : Severity::Warning,
                QStringLiteral("and %1 more %2").arg(counted[std::size_t(kind)] - ListedPerKind).arg(QLatin1String(moreText[std::size_t(kind)])));
        }
    }
}

// Desktops that follow freedesktop.org's autostart convention offer to run
// the first of these they find on a disc's root.
void Checker::noteLinuxAutorun()
{
    for (const char *name : {".autorun", "autorun", "autorun.sh"}) {
        const int entry = m_index.find(name);
        if (entry < 0 || m_index.at(m_index.followed(entry)).kind != EntryKind::File)
            continue;
        const DiscEntry &file = m_index.at(m_index.followed(entry));
        if (file.permissions.testFlag(QFileDevice::ExeOther)) {
            add(Severity::Note, QStringLiteral("%1 is on the root: desktops that support it (GNOME's Files, for "
                                               "one) offer to run it when the disc is mounted")
                                    .arg(QLatin1String(name)));
        } else {
            add(Severity::Note, QStringLiteral("%1 is on the root but not executable for everyone, so no desktop "
                                               "offers to run it; chmod a+x %1 (Rock Ridge names keep that)")
                                    .arg(QLatin1String(name)));
        }
        return;
    }
    add(Severity::Note, QStringLiteral("no autorun.sh on the root: on Linux the viewer starts Vidorun on the disc "
                                       "(vidorun /media/$USER/<disc>); the README shows a two-line autorun.sh that "
                                       "some desktops offer to run"));
}

// The image genisoimage -R -J makes of the folder, estimated: every file in
// whole 2,048-byte blocks, and every folder twice, as ISO 9660 records with
// their Rock Ridge entries and as Joliet records.
void Checker::countImage()
{
    constexpr qint64 Block = 2048;
    constexpr qint64 RockRidge = 80;  // a record's permissions, times and long name entry, beyond the name
    auto blocks = [](qint64 bytes) { return (bytes + Block - 1) / Block; };
    auto even = [](qint64 bytes) { return bytes + (bytes & 1); };
    // The system area; the primary, Joliet and version descriptors and the
    // end of the set; Rock Ridge's own entry; the 150 blocks genisoimage pads
    // an image with, as old drives read ahead past its end.
    qint64 total = 16 + 4 + 1 + 150;
    qint64 isoPathTable = 0, jolietPathTable = 0;
    for (const DiscEntry &entry : m_index.entries()) {
        if (entry.kind == EntryKind::File)
            total += blocks(entry.size);
        if (entry.kind != EntryKind::Folder)
            continue;
        qint64 iso = 2 * (34 + RockRidge), joliet = 2 * 34;
        for (const int child : entry.children) {
            const auto nameBytes = qint64(m_index.at(child).name.size());
            const auto jolietName = std::min<qint64>(fromUtf8(m_index.at(child).name).size(), JolietMaxName);
            iso += even(33 + std::min<qint64>(nameBytes, 12) + 2) + RockRidge + nameBytes;
            joliet += even(33 + 2 * jolietName);
        }
        total += blocks(iso) + blocks(joliet);
        isoPathTable += even(8 + std::min<qint64>(qint64(entry.name.size()), 8));
        jolietPathTable += even(8 + 2 * std::min<qint64>(fromUtf8(entry.name).size(), JolietMaxName));
    }
    // Each path table is there in both byte orders, and each of those twice.
    total += 4 * blocks(isoPathTable) + 4 * blocks(jolietPathTable);
    m_report.imageBytes = total * Block;
    if (!smallestMedium(m_report.imageBytes)) {
        add(Severity::Warning, QStringLiteral("the disc's files need %1 bytes, more than a double-layer DVD holds: "
                                              "only a USB stick or a folder takes them")
                                   .arg(QLocale(QLocale::English).toString(m_report.imageBytes)));
    }
}

}  // namespace

DiscCheckReport checkDisc(const QString &root, const DiscCheckOptions &options)
{
    return Checker(root, options).run();
}

std::optional<Medium> smallestMedium(qint64 bytes)
{
    static const std::array<Medium, 4> media = {{
        {"a 650 MB CD", 681984000},
        {"a 700 MB CD", 737280000},
        {"a 4.7 GB DVD", 4700372992},
        {"an 8.5 GB double-layer DVD", 8543666176},
    }};
    for (const Medium &medium : media) {
        if (bytes <= medium.bytes)
            return medium;
    }
    return std::nullopt;
}

int exitStatus(const DiscCheckReport &report)
{
    if (!report.failure.isEmpty())
        return 2;
    const bool problems = std::any_of(report.findings.begin(), report.findings.end(),
                                      [](const Finding &f) { return f.severity != Severity::Note; });
    return problems ? 1 : 0;
}

}  // namespace vidorun
