// The files the program opens on this disc (the movies of this disc, the
// cover, the installers), looked up as the viewer's copy of the program
// looks them up, and what a viewer elsewhere would meet instead.
#include "disccheck/check_context.h"

#include "projectfile/letter_case.h"

#include <QLocale>

#include <array>

namespace vidorun::check {

namespace {

// Where a path written in the project leads.
struct Place {
    enum Kind { Disc, Drive, ThisComputer, Outside, Network } kind = Disc;
    QString fromRoot;  // the part to look up on the disc
};

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

Place placeOf(Context &context, const QString &written)
{
    auto isSeparator = [](QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); };
    if (written.size() >= 2 && isSeparator(written[0]) && isSeparator(written[1]))
        return {Place::Network, QString()};
    if (written.startsWith(QLatin1Char('/'))) {
        // A path of the author's computer, as its file dialog gives it. The
        // reader upper-cases it, and the program finds it in any case.
        for (const QString &root : {context.rootShown, context.index.canonicalRoot()}) {
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
QString missingReason(Context &context, const std::string &resolved)
{
    const QStringList parts = fromUtf8(resolved).split(QLatin1Char('/'));
    std::string path;
    QString where = QStringLiteral("on the root");
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const std::string name = parts[i].toUtf8().toStdString();
        const std::string next = path.empty() ? name : path + '/' + name;
        const int entry = context.index.find(next);
        if (entry < 0)
            return QStringLiteral("no %1 %2").arg(parts[i], where);
        const DiscEntry &found = context.index.at(entry);
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

}  // namespace

// A file the program opens must be readable by whoever views the disc: a
// disc burned with Rock Ridge names keeps the owner's permissions, and so
// does a copy on a stick formatted for Linux.
bool readableByAll(Context &context, int entry, const QString &lead, const FileUse *use)
{
    const DiscEntry &file = context.index.at(entry);
    QString text;
    if (!file.permissions.testFlag(QFileDevice::ReadOther)) {
        text = QStringLiteral("%1 can't be read by every user (%2): a disc burned with Rock Ridge names keeps "
                              "that, and viewers on Linux can't open it; chmod a+r it, or burn with genisoimage -r")
                   .arg(file.shownPath(), permissionText(file.permissions));
    }
    for (int folder = file.parent; text.isEmpty() && folder > 0; folder = context.index.at(folder).parent) {
        const DiscEntry &on = context.index.at(folder);
        if (!on.permissions.testFlag(QFileDevice::ExeOther)) {
            text = QStringLiteral("%1 lies in %2, which not every user may enter (%3): viewers on Linux can't "
                                  "open it; chmod a+rx %2, or burn with genisoimage -r")
                       .arg(file.shownPath(), on.shownPath(), permissionText(on.permissions));
        }
    }
    if (text.isEmpty())
        return true;
    if (use)
        context.add(*use, Severity::Error, text);
    else
        context.add(Severity::Error, lead + text);
    return false;
}

QString linkOnDisc(const Context &context, int entry, const QString &shown)
{
    const DiscEntry &link = context.index.at(entry);
    if (link.kind != EntryKind::Link || !link.linkInside)
        return {};
    return QStringLiteral("%1 is a link to %2: genisoimage writes it as an empty file among the Joliet names Windows "
                          "reads and xorriso leaves it out, so Windows viewers don't get it; put the file itself there")
        .arg(shown, context.index.at(context.index.followed(entry)).shownPath());
}

// A project path with letters beyond ASCII, in a file the reader takes as
// Windows-1252: Windows reads such a file in its own code page, and so does
// the program on a Windows system whose code page is another.
void checkCodePage(Context &context, const QString &subject, const QString &text, const FileUse *use)
{
    if (context.utf8)
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
        context.add(*use, Severity::Warning, message);
    else
        context.add(Severity::Warning, message);
}

namespace {

// Checks one file the program opens, as the viewer's copy of the program
// would find it; answers the entry of the file found, -1 when there is none.
int checkFile(Context &context, const FileUse &given)
{
    FileUse use = given;
    // What the author wrote, as long as it is what the reader made of it.
    const QString written = projectUpper(use.written, context.utf8) == use.read ? use.written : use.read;
    use.written = written;

    const Place place = placeOf(context, written);
    switch (place.kind) {
    case Place::Network:
        context.add(use, Severity::Error,
                    QStringLiteral("%1 is a network path, not a file on this disc: the viewer can't reach it; put the "
                                   "file on the disc and write its path from the disc's root")
                        .arg(written));
        return -1;
    case Place::Outside:
        context.add(use, Severity::Error,
                    QStringLiteral("%1 is a file of this computer, outside the disc: the viewer doesn't have it; put "
                                   "the file on the disc and write its path from the disc's root")
                        .arg(written));
        return -1;
    default:
        break;
    }

    const std::string resolved =
        context.index.resolve(place.kind == Place::ThisComputer ? projectUpper(place.fromRoot, context.utf8) : use.read);
    if (resolved == ".." || resolved.compare(0, 3, "../") == 0) {
        context.add(use, Severity::Error,
                    QStringLiteral("%1 leads out of the disc (through ..): the viewer doesn't have it; write the "
                                   "file's path from the disc's root")
                        .arg(written));
        return -1;
    }
    const int entry = resolved == "." ? 0 : context.index.find(resolved);
    if (entry < 0) {
        context.add(use, Severity::Error,
                    QStringLiteral("%1 is not on this disc (%2)")
                        .arg(written, missingReason(context, resolved)));
        return -1;
    }

    const DiscEntry &found = context.index.at(entry);
    context.markUsed(entry);
    if (place.kind == Place::Drive) {
        context.add(use, Severity::Warning,
                    QStringLiteral("%1 names drive %2, which the viewer's drive may not get; write %3")
                        .arg(written, written.left(2), windowsPath(place.fromRoot)));
    } else if (place.kind == Place::ThisComputer) {
        context.add(use, Severity::Warning,
                    QStringLiteral("%1 is a path of this computer, and the viewer's system mounts the disc elsewhere; "
                                   "write %2")
                        .arg(written, windowsPath(place.fromRoot)));
    }

    int file = entry;
    if (found.kind == EntryKind::Link) {
        if (!found.linkInside) {
            context.add(use, Severity::Error,
                        QStringLiteral("%1 is %2: the viewer doesn't have it; put the file itself there")
                            .arg(written, linkEnd(found)));
            return -1;
        }
        file = context.index.followed(entry);
        context.markUsed(file);
        if (context.index.at(file).kind != EntryKind::File) {
            const QString target = found.linkTarget == context.index.canonicalRoot()
                                       ? QStringLiteral("the disc's root")
                                       : found.linkTarget.mid(context.index.canonicalRoot().size() + 1);
            context.add(use, Severity::Error, QStringLiteral("%1 is a link to %2, which is no file").arg(written, target));
            return -1;
        }
        context.add(use, Severity::Error, linkOnDisc(context, entry, written));
    } else if (found.kind == EntryKind::Folder) {
        context.add(use, Severity::Error, QStringLiteral("%1 is a folder, not a file").arg(written));
        return -1;
    } else if (found.kind != EntryKind::File) {
        context.add(use, Severity::Error, QStringLiteral("%1 is a special file (a pipe, socket or device), not a file: "
                                                         "Vidorun does not open it")
                                              .arg(written));
        return -1;
    }
    if (!readableByAll(context, file, QString(), &use))
        return -1;

    // The lookup found the file by letter case where the written path
    // differs: Windows ignores case, and so does the program's own lookup on
    // Linux, which looks for the path the reader upper-cased anyway.
    const QString onDisc = fromUtf8(resolved);
    const std::string asWritten =
        components(place.kind == Place::Disc ? written : place.fromRoot).join(QLatin1Char('/')).toUtf8().toStdString();
    if (asWritten != resolved && fileNameFoldUtf8(asWritten) == fileNameFoldUtf8(resolved)) {
        context.add(use, Severity::Note,
                    QStringLiteral("%1 is %2 on this disc, in another letter case: Windows and Vidorun find it all "
                                   "the same")
                        .arg(written, onDisc));
    }
    checkCodePage(context, written, written, &use);
    return file;
}

void checkCover(Context &context, const FileUse &use, int entry)
{
    if (!context.options.probePicture)
        return;
    const std::unique_ptr<QFile> file = openRegularFile(context.absolutePath(entry));
    if (!file)
        return;
    const std::optional<PictureHeader> header = context.options.probePicture(*file);
    if (!header) {
        context.add(use, Severity::Error, QStringLiteral("%1 is no picture Vidorun can show: the window shows \"There "
                                                         "is no picture loaded!\" instead; use a JPEG")
                                              .arg(use.written));
        return;
    }
    const QSize size = header->size;
    if (context.options.maxPicturePixels > 0
        && qint64(size.width()) * size.height() > context.options.maxPicturePixels) {
        context.add(use, Severity::Error,
                    QStringLiteral("%1 is %2 x %3 pixels, more than the %4 pixels Vidorun decodes: the window shows "
                                   "\"There is no picture loaded!\" instead; make it smaller")
                        .arg(use.written)
                        .arg(size.width())
                        .arg(size.height())
                        .arg(QLocale(QLocale::English).toString(context.options.maxPicturePixels)));
    }
}

}  // namespace

// The movies of this disc; a movie whose lines the reader misreads has its
// finding already.
void checkMovies(Context &context)
{
    const int listed = listableMovies(context.project);
    for (int n = 1; n <= listed; ++n) {
        const auto e = std::size_t(n);
        if (context.project.MoviePaths[e].isEmpty() || !context.report.labelsHere.contains(context.project.MovieCDs[e])
            || context.written.misreadMovies.count(n))
            continue;
        FileUse use;
        use.movie = n;
        use.title = context.project.MovieTitles[e];
        use.read = context.project.MoviePaths[e];
        use.written = context.written.moviePaths[e];
        checkFile(context, use);
    }
}

void checkSettings(Context &context)
{
    struct Setting {
        const char *key;
        const char *lead;
        const QString &read;
        const QString &written;
    };
    const std::array<Setting, 3> settings = {{
        {"COVER", "the cover ", context.project.CoverPicturePath, context.written.cover},
        {"PLAYE", "the player installer ", context.project.PlayerPath, context.written.player},
        {"CODEC", "the codec installer ", context.project.CodecPath, context.written.codec},
    }};
    for (const Setting &setting : settings) {
        if (setting.read.isEmpty() || context.written.misreadSettings.count(setting.key))
            continue;
        FileUse use;
        use.lead = QLatin1String(setting.lead);
        use.read = setting.read;
        use.written = setting.written;
        const int entry = checkFile(context, use);
        if (entry >= 0 && &setting == &settings.front())
            checkCover(context, use, entry);
    }
}

}  // namespace vidorun::check
