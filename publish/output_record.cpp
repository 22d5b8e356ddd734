#include "publish/output_record.h"

#include "disccheck/disc_names.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <map>

namespace vidorun {

namespace {

constexpr qint64 MaxRecordBytes = 64 * 1024 * 1024;
const QByteArray RecordHeading = "vidorun published 1";
const QByteArray JournalHeading = "vidorun publishing 1";

// One line each: a kind, the identity, the size and the name last, so that
// a name may hold blanks (the names publishing makes hold no tabs or line
// ends: they are control characters, which no disc name holds).
QByteArray entryLine(const char *what, bool folder, const FileIdentity &identity, qint64 bytes, const QString &name)
{
    return QByteArray(what) + '\t' + (folder ? "folder" : "file") + '\t' + QByteArray::number(identity.device) + '\t'
           + QByteArray::number(identity.file) + '\t' + QByteArray::number(bytes) + '\t' + name.toUtf8() + '\n';
}

QByteArray outputLines(const MadeOutput &output, bool journal)
{
    QByteArray text = entryLine("output", output.folder, output.identity, output.bytes, output.name);
    if (journal) {
        text += "temporary\t" + output.temporary.toUtf8() + '\n';
        text += "aside\t" + output.aside.toUtf8() + '\n';
    }
    for (const TreeEntry &entry : output.tree)
        text += entryLine("entry", entry.folder, entry.identity, entry.bytes, entry.path);
    return text;
}

// The outputs the lines after the heading list; nothing when a line is not
// one the program writes.
std::optional<std::vector<MadeOutput>> parseOutputs(const QList<QByteArray> &lines, qsizetype first)
{
    std::vector<MadeOutput> outputs;
    for (qsizetype i = first; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 2 && !outputs.empty() && (fields[0] == "temporary" || fields[0] == "aside")) {
            (fields[0] == "temporary" ? outputs.back().temporary : outputs.back().aside) = QString::fromUtf8(fields[1]);
            continue;
        }
        if (fields.size() != 6 || (fields[1] != "folder" && fields[1] != "file"))
            return std::nullopt;
        bool ok[3];
        const FileIdentity identity{fields[2].toULongLong(&ok[0]), fields[3].toULongLong(&ok[1])};
        const qint64 bytes = fields[4].toLongLong(&ok[2]);
        if (!ok[0] || !ok[1] || !ok[2])
            return std::nullopt;
        const bool folder = fields[1] == "folder";
        const QString name = QString::fromUtf8(fields[5]);
        if (fields[0] == "output") {
            outputs.push_back({name, folder, identity, bytes, {}, {}, {}});
        } else if (fields[0] == "entry" && !outputs.empty()) {
            outputs.back().tree.push_back({name, folder, identity, bytes});
        } else {
            return std::nullopt;
        }
    }
    return outputs;
}

std::optional<QByteArray> readSmallFile(PublishFiles &files, const QString &path)
{
    FileKind kind;
    QString reason;
    const std::unique_ptr<ReadableFile> file = files.openForReading(path, kind, reason);
    if (!file || file->size() > MaxRecordBytes)
        return std::nullopt;
    QByteArray bytes(file->size(), '\0');
    qint64 got = 0;
    for (qint64 n = 1; n > 0 && got < bytes.size(); got += n) {
        n = file->read(bytes.data() + got, bytes.size() - got);
        if (n < 0)
            return std::nullopt;
    }
    bytes.truncate(got);
    return bytes;
}

// Writes `bytes` as the folder's file `name`, replacing it in one step, and
// makes it durable.
bool writeSmallFile(PublishFiles &files, const QString &outFolder, const QString &name, const QByteArray &bytes,
                    QString &reason)
{
    const QString path = outFolder + QLatin1Char('/') + name;
    const QString fresh = path + QStringLiteral(".new");
    files.remove(fresh);  // what a run stopped while writing it left
    const std::unique_ptr<WritableFile> file = files.create(fresh, false, reason);
    if (!file)
        return false;
    if (!file->write(bytes.constData(), bytes.size()) || !file->close()) {
        reason = file->reason();
        files.remove(fresh);
        return false;
    }
    files.setHidden(fresh, true);
    if (!files.replaceFile(fresh, path, reason)) {
        files.remove(fresh);
        return false;
    }
    return files.flush(outFolder, reason);
}

}  // namespace

const MadeOutput *OutputRecord::find(const QString &name) const
{
    const auto it = std::find_if(outputs.begin(), outputs.end(), [&name](const MadeOutput &made) { return made.name == name; });
    return it == outputs.end() ? nullptr : &*it;
}

void OutputRecord::put(MadeOutput made)
{
    made.temporary.clear();
    made.aside.clear();
    const auto it = std::find_if(outputs.begin(), outputs.end(),
                                 [&made](const MadeOutput &known) { return known.name == made.name; });
    if (it == outputs.end())
        outputs.push_back(std::move(made));
    else
        *it = std::move(made);
}

OutputRecord readOutputRecord(PublishFiles &files, const QString &outFolder)
{
    const std::optional<QByteArray> bytes = readSmallFile(files, outFolder + QLatin1Char('/') + OutputRecordName);
    if (!bytes)
        return {};
    const QList<QByteArray> lines = bytes->split('\n');
    if (lines.value(0) != RecordHeading)
        return {};
    std::optional<std::vector<MadeOutput>> outputs = parseOutputs(lines, 1);
    return outputs ? OutputRecord{std::move(*outputs)} : OutputRecord{};
}

std::optional<Journal> readJournal(PublishFiles &files, const QString &outFolder)
{
    const std::optional<QByteArray> bytes = readSmallFile(files, outFolder + QLatin1Char('/') + JournalName);
    if (!bytes)
        return std::nullopt;
    const QList<QByteArray> lines = bytes->split('\n');
    if (lines.value(0) != JournalHeading || !lines.value(1).startsWith("phase\t"))
        return std::nullopt;
    Journal journal;
    journal.phase = lines.value(1) == "phase\tswapping" ? JournalPhase::Swapping : JournalPhase::Making;
    std::optional<std::vector<MadeOutput>> outputs = parseOutputs(lines, 2);
    if (!outputs)
        return std::nullopt;
    journal.outputs = std::move(*outputs);
    return journal;
}

bool writeOutputRecord(PublishFiles &files, const QString &outFolder, const OutputRecord &record, QString &reason)
{
    QByteArray text = RecordHeading + '\n';
    for (const MadeOutput &output : record.outputs)
        text += outputLines(output, false);
    return writeSmallFile(files, outFolder, OutputRecordName, text, reason);
}

bool writeJournal(PublishFiles &files, const QString &outFolder, const Journal &journal, QString &reason)
{
    QByteArray text = JournalHeading + '\n';
    text += journal.phase == JournalPhase::Swapping ? "phase\tswapping\n" : "phase\tmaking\n";
    for (const MadeOutput &output : journal.outputs)
        text += outputLines(output, true);
    return writeSmallFile(files, outFolder, JournalName, text, reason);
}

std::optional<MadeOutput> describeOutput(PublishFiles &files, const QString &path, const QString &name,
                                         QString &reason)
{
    const std::optional<FileIdentity> identity = files.entryIdentity(path);
    if (!identity) {
        reason = QStringLiteral("not there");
        return std::nullopt;
    }
    MadeOutput made;
    made.name = name;
    made.identity = *identity;
    if (std::optional<std::vector<TreeEntry>> tree = files.listTree(path, reason)) {
        made.folder = true;
        made.tree = std::move(*tree);
        return made;
    }
    FileKind kind;
    const std::unique_ptr<ReadableFile> file = files.openForReading(path, kind, reason);
    if (!file)
        return std::nullopt;
    made.bytes = file->size();
    return made;
}

QString differenceFromRecord(PublishFiles &files, const QString &path, const MadeOutput *recorded)
{
    if (!recorded)
        return QStringLiteral("was not made by vidorun --publish");
    const std::optional<FileIdentity> identity = files.entryIdentity(path);
    if (!identity || *identity != recorded->identity)
        return QStringLiteral("is not what vidorun --publish made there: it was replaced or moved since");
    QString reason;
    if (!recorded->folder) {
        FileKind kind;
        const std::unique_ptr<ReadableFile> file = files.openForReading(path, kind, reason);
        if (!file || file->size() != recorded->bytes)
            return QStringLiteral("was changed since vidorun --publish made it");
        return {};
    }
    const std::optional<std::vector<TreeEntry>> tree = files.listTree(path, reason);
    if (!tree)
        return QStringLiteral("can't be looked through (%1)").arg(reason);
    std::map<QString, const TreeEntry *> made;
    for (const TreeEntry &entry : recorded->tree)
        made[entry.path] = &entry;
    for (const TreeEntry &entry : *tree) {
        const auto it = made.find(entry.path);
        if (it == made.end())
            return QStringLiteral("holds %1, which vidorun --publish did not put there").arg(shownPath(entry.path));
        const TreeEntry &was = *it->second;
        if (was.folder != entry.folder || was.identity != entry.identity || was.bytes != entry.bytes)
            return QStringLiteral("holds %1, which was changed since vidorun --publish made it").arg(shownPath(entry.path));
    }
    return {};
}

}  // namespace vidorun
