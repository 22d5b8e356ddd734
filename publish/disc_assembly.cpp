#include "publish/disc_assembly.h"

#include "publish/disc_image.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <vector>

namespace vidorun {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A name in the output's folder that nothing has, hidden where names
// starting with a dot are, and telling whose it is.
QString temporaryName(const QString &output, const char *what, PublishFiles &files)
{
    const QFileInfo info(output);
    for (;;) {
        const QString name = QStringLiteral(".%1.vidorun-%2-%3")
                                 .arg(info.fileName(), QLatin1String(what))
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const QString path = info.dir().filePath(name);
        if (!files.exists(path))
            return path;
    }
}

class Assembly {
public:
    Assembly(const DiscLayout &disc, PublishFiles &files, const CopyProgress &progress)
        : m_disc(disc), m_files(files), m_progress(progress)
    {
    }
    ~Assembly()
    {
        // Whatever is still under a temporary name is what did not get done.
        for (const QString &path : m_leftOver)
            m_files.remove(path);
    }
    Assembly(const Assembly &) = delete;
    Assembly &operator=(const Assembly &) = delete;

    MadeDisc make(const DiscOutputs &outputs, bool replace);

private:
    bool fill(const QString &folder);
    bool writeContent(const QString &path, const DiscFile &file);
    bool place(const std::vector<std::pair<QString, QString>> &moves, bool replace);
    bool fail(const QString &reason)
    {
        m_made.reason = reason;
        return false;
    }
    // Whether to go on, the work so far being `done`; a stop is remembered.
    bool goOn(qint64 done)
    {
        m_made.stopped = m_made.stopped || !m_progress(done);
        return !m_made.stopped;
    }
    CopyProgress from(qint64 base)
    {
        return [this, base](qint64 done) { return goOn(base + done); };
    }

    const DiscLayout &m_disc;
    PublishFiles &m_files;
    const CopyProgress &m_progress;
    qint64 m_done = 0;
    MadeDisc m_made;
    std::vector<QString> m_leftOver;
};

bool Assembly::writeContent(const QString &path, const DiscFile &file)
{
    QString reason;
    const std::unique_ptr<WritableFile> created = m_files.create(path, file.executable, reason);
    if (!created)
        return fail(QStringLiteral("%1: %2").arg(shown(path), reason));
    if (!created->write(file.content.constData(), file.content.size()) || !created->close())
        return fail(QStringLiteral("%1: %2").arg(shown(path), created->reason()));
    return true;
}

bool Assembly::fill(const QString &root)
{
    QString reason;
    for (const QString &folder : m_disc.folders) {
        if (!m_files.makeFolder(root + QLatin1Char('/') + folder, reason))
            return fail(QStringLiteral("%1: %2").arg(shown(root + QLatin1Char('/') + folder), reason));
    }
    for (const DiscFile &file : m_disc.files) {
        const QString path = root + QLatin1Char('/') + file.path;
        if (file.source.isEmpty()) {
            if (!writeContent(path, file))
                return false;
        } else if (!m_files.copy(file.source, path, from(m_done), reason)) {
            return fail(QStringLiteral("%1: %2").arg(shown(file.source), reason));
        }
        m_done += file.bytes;
        if (!goOn(m_done))
            return false;
    }
    return true;
}

// Puts each (temporary, final) pair in place. What was at a final place
// moves aside first and goes only once all are in place; should a step
// fail, what moved aside is put back.
bool Assembly::place(const std::vector<std::pair<QString, QString>> &moves, bool replace)
{
    QString reason;
    std::vector<std::pair<QString, QString>> asides;  // (final, aside)
    std::vector<QString> placed;
    auto undo = [&] {
        for (const QString &path : placed)
            m_files.remove(path);
        for (const auto &[final, aside] : asides)
            m_files.rename(aside, final, reason);
    };
    for (const auto &[temporary, final] : moves) {
        if (!m_files.exists(final))
            continue;
        if (!replace) {
            undo();
            return fail(QStringLiteral("%1 is already there: add --force to replace it").arg(shown(final)));
        }
        const QString aside = temporaryName(final, "old", m_files);
        if (!m_files.rename(final, aside, reason)) {
            undo();
            return fail(QStringLiteral("%1 can't be replaced: %2").arg(shown(final), reason));
        }
        asides.emplace_back(final, aside);
    }
    for (const auto &[temporary, final] : moves) {
        if (!m_files.rename(temporary, final, reason)) {
            undo();
            return fail(QStringLiteral("%1: %2").arg(shown(final), reason));
        }
        placed.push_back(final);
    }
    m_leftOver.clear();
    for (const auto &[final, aside] : asides) {
        if (!m_files.remove(aside))
            m_made.reason = QStringLiteral("the old %1 could not be removed entirely: %2 is left").arg(shown(final), shown(aside));
    }
    return true;
}

MadeDisc Assembly::make(const DiscOutputs &outputs, bool replace)
{
    QString reason;
    const QString folder = temporaryName(outputs.folder, "disc", m_files);
    if (!m_files.makeFolder(folder, reason)) {
        fail(QStringLiteral("%1 can't be made: %2").arg(shown(folder), reason));
        return m_made;
    }
    m_leftOver.push_back(folder);
    if (!fill(folder))
        return m_made;

    std::vector<std::pair<QString, QString>> moves = {{folder, outputs.folder}};
    if (!outputs.image.isEmpty()) {
        const QString image = temporaryName(outputs.image, "image", m_files);
        m_leftOver.push_back(image);
        const ImageOutcome written = writeDiscImage(m_disc, folder, image, QFileInfo(outputs.image).absolutePath(),
                                                    m_files, from(m_done));
        if (!written.written) {
            fail(QStringLiteral("%1: %2").arg(shown(outputs.image), written.reason));
            return m_made;
        }
        m_made.imageBytes = written.bytes;
        moves.emplace_back(image, outputs.image);
    }
    if (place(moves, replace))
        m_made.made = true;
    return m_made;
}

}  // namespace

qint64 discWork(const DiscLayout &disc, bool image)
{
    return disc.bytes() + (image ? imageWork(disc.bytes()) : 0);
}

MadeDisc makeDisc(const DiscLayout &disc, const DiscOutputs &outputs, bool replace, PublishFiles &files,
                  const CopyProgress &progress)
{
    return Assembly(disc, files, progress).make(outputs, replace);
}

}  // namespace vidorun
