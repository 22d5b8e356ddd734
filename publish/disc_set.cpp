#include "publish/disc_set.h"

#include "disccheck/disc_names.h"
#include "platform/console_session.h"
#include "publish/disc_image.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace vidorun {

namespace {

QString nameIn(const QString &path)
{
    return QFileInfo(path).fileName();
}

// A name in the output folder that nothing has, hidden where names starting
// with a dot are, and telling whose it is.
QString temporaryName(PublishFiles &files, const QString &outFolder, const QString &output, const char *what)
{
    for (;;) {
        const QString name = QStringLiteral(".%1.vidorun-%2-%3")
                                 .arg(output, QLatin1String(what))
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (!files.exists(outFolder + QLatin1Char('/') + name))
            return name;
    }
}

// How a new output took its place.
enum class Placement { New, Exchanged, MovedAside };

// Puts the output made at its temporary name in the place of its name. The
// old one, if any, ends at the temporary name (swapped in one step) or at
// the aside name (where the file system can't swap).
bool putInPlace(PublishFiles &files, const QString &outFolder, const MadeOutput &made, Placement &how,
                QString &reason)
{
    const QString final = outFolder + QLatin1Char('/') + made.name;
    const QString temporary = outFolder + QLatin1Char('/') + made.temporary;
    const QString aside = outFolder + QLatin1Char('/') + made.aside;
    if (!files.exists(final)) {
        how = Placement::New;
        return files.rename(temporary, final, reason);
    }
    bool unsupported = false;
    if (files.exchange(temporary, final, unsupported, reason)) {
        how = Placement::Exchanged;
        return true;
    }
    if (!unsupported || !files.rename(final, aside, reason))
        return false;
    if (files.rename(temporary, final, reason)) {
        how = Placement::MovedAside;
        return true;
    }
    QString ignored;
    files.rename(aside, final, ignored);
    return false;
}

// Undoes putInPlace().
bool takeBack(PublishFiles &files, const QString &outFolder, const MadeOutput &made, Placement how)
{
    const QString final = outFolder + QLatin1Char('/') + made.name;
    const QString temporary = outFolder + QLatin1Char('/') + made.temporary;
    const QString aside = outFolder + QLatin1Char('/') + made.aside;
    QString reason;
    bool unsupported = false;
    switch (how) {
    case Placement::New:
        return files.rename(final, temporary, reason);
    case Placement::Exchanged:
        return files.exchange(temporary, final, unsupported, reason);
    case Placement::MovedAside:
        return files.rename(final, temporary, reason) && files.rename(aside, final, reason);
    }
    return false;
}

// Removes what an old output left at the temporary and aside names of
// `made`; answers what could not be removed, one sentence each.
// A name publishing gives what it makes or moves aside, and nothing else has.
bool isTemporaryName(const QString &name)
{
    return name.startsWith(QLatin1Char('.')) && name.contains(QLatin1String(".vidorun-"));
}

QStringList removeOld(PublishFiles &files, const QString &outFolder, const MadeOutput &made)
{
    QStringList left;
    for (const QString &name : {made.temporary, made.aside}) {
        const QString path = outFolder + QLatin1Char('/') + name;
        if (!isTemporaryName(name) || !files.exists(path) || files.entryIdentity(path) == made.identity)
            continue;
        QString reason;
        if (!files.remove(path, reason)) {
            left << QStringLiteral("the old %1 could not be removed entirely (%2): what is left of it is in %3")
                        .arg(shownPath(outFolder + QLatin1Char('/') + made.name), reason, shownPath(path));
        }
    }
    return left;
}

// Drops what the record lists but is no longer there as publishing made it.
void dropGone(PublishFiles &files, const QString &outFolder, OutputRecord &record)
{
    std::vector<MadeOutput> kept;
    for (MadeOutput &made : record.outputs) {
        if (files.entryIdentity(outFolder + QLatin1Char('/') + made.name) == made.identity)
            kept.push_back(std::move(made));
    }
    record.outputs = std::move(kept);
}

QString namesOf(const Journal &journal)
{
    QStringList names;
    for (const MadeOutput &made : journal.outputs)
        names << shownName(made.name);
    return names.join(QStringLiteral(", "));
}

}  // namespace

qint64 discWork(const DiscLayout &disc, bool image)
{
    return disc.bytes() + (image ? imageWork(disc.bytes()) : 0);
}

DiscSet::DiscSet(const std::vector<DiscLayout> &discs, const std::vector<DiscOutputs> &outputs,
                 const QString &outFolder, PublishFiles &files)
    : m_discs(discs), m_outputs(outputs), m_outFolder(outFolder), m_files(files)
{
}

DiscSet::~DiscSet()
{
    // Whatever is still under a temporary name is what did not get done.
    if (m_journalWritten && !m_placed)
        removeTemporaries();
}

bool DiscSet::fail(const QString &reason)
{
    if (m_reason.isEmpty() && !m_stopped)
        m_reason = reason;
    return false;
}

void DiscSet::removeTemporaries()
{
    for (const MadeOutput &made : m_journal.outputs)
        m_files.remove(path(made.temporary));
    m_files.remove(path(JournalName));
    m_journalWritten = false;
}

bool DiscSet::make(const SetProgress &progress)
{
    for (const DiscOutputs &outputs : m_outputs) {
        for (const QString &output : {outputs.folder, outputs.image}) {
            if (output.isEmpty())
                continue;
            MadeOutput made;
            made.name = nameIn(output);
            made.folder = output == outputs.folder;
            made.temporary = temporaryName(m_files, m_outFolder, made.name, made.folder ? "disc" : "image");
            made.aside = temporaryName(m_files, m_outFolder, made.name, "old");
            m_journal.outputs.push_back(made);
        }
    }
    // The journal goes first: should the run be stopped from here on, the
    // next one knows what this one began.
    QString reason;
    m_journal.phase = JournalPhase::Making;
    if (!writeJournal(m_files, m_outFolder, m_journal, reason)) {
        m_files.remove(path(JournalName));
        return fail(QStringLiteral("writing %1: %2").arg(shownPath(path(JournalName)), reason));
    }
    m_journalWritten = true;
    m_imageBytes.assign(m_discs.size(), 0);
    for (std::size_t disc = 0; disc < m_discs.size(); ++disc) {
        m_failedDisc = disc;
        if (!makeDisc(disc, progress)) {
            removeTemporaries();
            return false;
        }
    }
    // Each new output as it is now, for the journal and the record; on the
    // disk for good before anything old makes way for it.
    for (MadeOutput &made : m_journal.outputs) {
        std::optional<MadeOutput> now = describeOutput(m_files, path(made.temporary), made.name, reason);
        if (!now) {
            removeTemporaries();
            return fail(QStringLiteral("reading %1: %2").arg(shownPath(path(made.temporary)), reason));
        }
        now->temporary = made.temporary;
        now->aside = made.aside;
        made = *now;
    }
    if (!m_files.flush(m_outFolder, reason)) {
        removeTemporaries();
        return fail(QStringLiteral("writing %1: %2").arg(shownPath(m_outFolder), reason));
    }
    return true;
}

bool DiscSet::makeDisc(std::size_t disc, const SetProgress &progress)
{
    const DiscOutputs &outputs = m_outputs[disc];
    const auto temporaryOf = [this](const QString &output) {
        for (const MadeOutput &made : m_journal.outputs) {
            if (made.name == nameIn(output))
                return path(made.temporary);
        }
        return QString();
    };
    QString reason;
    const QString folder = temporaryOf(outputs.folder);
    if (!m_files.makeFolder(folder, reason))
        return fail(QStringLiteral("making %1: %2").arg(shownPath(outputs.folder), reason));
    m_files.setHidden(folder, true);
    if (!fill(disc, folder, progress))
        return false;
    if (outputs.image.isEmpty())
        return true;

    const QString image = temporaryOf(outputs.image);
    const qint64 base = m_discs[disc].bytes();
    const ImageOutcome written =
        writeDiscImage(m_discs[disc], folder, image, m_outFolder, m_files, [&](qint64 done) {
            m_stopped = m_stopped || !progress(disc, base + done);
            return !m_stopped;
        });
    m_files.setHidden(image, true);
    if (!written.written) {
        if (m_stopped)
            return false;
        return fail(written.readingFile.isEmpty()
                        ? QStringLiteral("writing %1: %2").arg(shownPath(outputs.image), written.reason)
                        : QStringLiteral("reading %1: %2")
                              .arg(shownPath(outputs.folder + QLatin1Char('/') + written.readingFile), written.reason));
    }
    m_imageBytes[disc] = written.bytes;
    return true;
}

bool DiscSet::fill(std::size_t disc, const QString &root, const SetProgress &progress)
{
    const DiscLayout &layout = m_discs[disc];
    const QString &shownRoot = m_outputs[disc].folder;
    QString reason;
    for (const QString &folder : layout.folders) {
        if (!m_files.makeFolder(root + QLatin1Char('/') + folder, reason))
            return fail(QStringLiteral("making %1: %2").arg(shownPath(shownRoot + QLatin1Char('/') + folder), reason));
    }
    qint64 done = 0;
    for (const DiscFile &file : layout.files) {
        const QString target = root + QLatin1Char('/') + file.path;
        const QString shownTarget = shownPath(shownRoot + QLatin1Char('/') + file.path);
        if (file.source.isEmpty()) {
            const std::unique_ptr<WritableFile> created = m_files.create(target, file.executable, reason);
            if (!created)
                return fail(QStringLiteral("writing %1: %2").arg(shownTarget, reason));
            if (!created->write(file.content.constData(), file.content.size()) || !created->close())
                return fail(QStringLiteral("writing %1: %2").arg(shownTarget, created->reason()));
        } else {
            CopyFailure failure;
            const bool copied = m_files.copy(file.source, target, [&](qint64 copied) {
                m_stopped = m_stopped || !progress(disc, done + copied);
                return !m_stopped;
            }, failure);
            if (!copied) {
                if (m_stopped || failure.stopped)
                    return false;
                return fail(failure.reading ? QStringLiteral("reading %1: %2").arg(shownPath(file.source), failure.reason)
                                            : QStringLiteral("writing %1: %2").arg(shownTarget, failure.reason));
            }
        }
        done += file.bytes;
        m_stopped = m_stopped || !progress(disc, done);
        if (m_stopped)
            return false;
    }
    return true;
}

bool DiscSet::place(OutputRecord &record)
{
    // Nothing may cut this in two: a Ctrl+C now waits until it is over.
    const DeferredInterruptions deferred;
    QString reason;
    m_journal.phase = JournalPhase::Swapping;
    if (!writeJournal(m_files, m_outFolder, m_journal, reason))
        return fail(QStringLiteral("writing %1: %2").arg(shownPath(path(JournalName)), reason));

    std::vector<Placement> done;
    for (const MadeOutput &made : m_journal.outputs) {
        const QString final = path(made.name);
        // What was looked at before the making is still what is there.
        const MadeOutput *recorded = record.find(made.name);
        const bool taken = m_files.exists(final) && (!recorded || m_files.entryIdentity(final) != recorded->identity);
        Placement how = Placement::New;
        if (taken)
            reason = QStringLiteral("something else took its place meanwhile");
        if (taken || !putInPlace(m_files, m_outFolder, made, how, reason)) {
            QStringList stuck;
            for (std::size_t k = done.size(); k-- > 0;) {
                if (!takeBack(m_files, m_outFolder, m_journal.outputs[k], done[k]))
                    stuck << shownPath(path(m_journal.outputs[k].name));
            }
            const QString failed = QStringLiteral("putting %1 in place: %2").arg(shownPath(final), reason);
            if (stuck.isEmpty()) {
                removeTemporaries();
                return fail(failed + QStringLiteral("; nothing in %1 was changed").arg(shownPath(m_outFolder)));
            }
            // Neither set is whole: the journal stays for the next run.
            m_placed = true;
            return fail(failed + QStringLiteral("; and %1 could not be put back: the next vidorun --publish to %2 "
                                                "puts the new set in place")
                                     .arg(stuck.join(QStringLiteral(", ")), shownPath(m_outFolder)));
        }
        m_files.setHidden(final, false);
        done.push_back(how);
    }
    m_placed = true;

    for (const MadeOutput &made : m_journal.outputs)
        record.put(made);
    dropGone(m_files, m_outFolder, record);
    if (!writeOutputRecord(m_files, m_outFolder, record, reason)) {
        m_leftovers << QStringLiteral("%1 could not be written (%2): the discs are not known as vidorun --publish's, "
                                      "and --force will not replace them")
                           .arg(shownPath(path(OutputRecordName)), reason);
    }
    for (const MadeOutput &made : m_journal.outputs)
        m_leftovers << removeOld(m_files, m_outFolder, made);
    // With an old output left, the journal stays: the next run removes it.
    if (m_leftovers.isEmpty())
        m_files.remove(path(JournalName));
    return true;
}

QStringList recoverOutputFolder(PublishFiles &files, const QString &outFolder, bool &ok)
{
    const DeferredInterruptions deferred;
    ok = true;
    // A record or journal whose writing was cut short never took its place.
    for (const QString &name : {JournalName, OutputRecordName})
        files.remove(outFolder + QLatin1Char('/') + name + QStringLiteral(".new"));
    const QString journalPath = outFolder + QLatin1Char('/') + JournalName;
    if (!files.exists(journalPath))
        return {};
    const std::optional<Journal> journal = readJournal(files, outFolder);
    if (!journal) {
        ok = false;
        return {QStringLiteral("%1 is left by a publishing that was stopped, and can't be read: see what it lists, "
                               "remove what is left of that publishing, then the file")
                    .arg(shownPath(journalPath))};
    }
    const auto at = [&outFolder](const QString &name) { return outFolder + QLatin1Char('/') + name; };
    if (journal->phase == JournalPhase::Making) {
        for (const MadeOutput &made : journal->outputs) {
            if (isTemporaryName(made.temporary))
                files.remove(at(made.temporary));
        }
        files.remove(journalPath);
        return {QStringLiteral("an earlier vidorun --publish to %1 was stopped while it made %2: what it had begun "
                               "is removed")
                    .arg(shownPath(outFolder), namesOf(*journal))};
    }

    OutputRecord record = readOutputRecord(files, outFolder);
    QStringList said;
    for (const MadeOutput &made : journal->outputs) {
        const QString final = at(made.name);
        if (files.entryIdentity(final) != made.identity) {
            if (files.entryIdentity(at(made.temporary)) != made.identity)
                continue;  // gone since: nothing to put in place
            const MadeOutput *recorded = record.find(made.name);
            if (files.exists(final) && (!recorded || files.entryIdentity(final) != recorded->identity)) {
                ok = false;
                return {QStringLiteral("an earlier vidorun --publish to %1 was stopped while it put %2 in place, and "
                                       "%3 is not what it made there: move it away and publish again")
                            .arg(shownPath(outFolder), namesOf(*journal), shownPath(final))};
            }
            Placement how;
            QString reason;
            if (!putInPlace(files, outFolder, made, how, reason)) {
                ok = false;
                return {QStringLiteral("an earlier vidorun --publish to %1 was stopped while it put %2 in place, "
                                       "and %3 can't be put in place now: %4")
                            .arg(shownPath(outFolder), namesOf(*journal), shownPath(final), reason)};
            }
        }
        files.setHidden(final, false);
        record.put(made);
    }
    dropGone(files, outFolder, record);
    QString reason;
    if (!writeOutputRecord(files, outFolder, record, reason))
        said << QStringLiteral("%1 could not be written: %2").arg(shownPath(at(OutputRecordName)), reason);
    QStringList left;
    for (const MadeOutput &made : journal->outputs)
        left << removeOld(files, outFolder, made);
    if (left.isEmpty())
        files.remove(journalPath);
    said.prepend(QStringLiteral("an earlier vidorun --publish to %1 was stopped while it put %2 in place: the new "
                                "ones are in place now, and what they replace is removed")
                     .arg(shownPath(outFolder), namesOf(*journal)));
    return said + left;
}

}  // namespace vidorun
