#include "projectfile/atomic_save.h"

namespace vidorun {

bool FileSaveSteps::open()
{
    return m_file.open(QIODevice::WriteOnly);
}

bool FileSaveSteps::write(const QByteArray &piece)
{
    return m_file.write(piece) == piece.size();
}

bool FileSaveSteps::flush()
{
    return m_file.flush();
}

bool FileSaveSteps::commit()
{
    return m_file.commit();
}

void FileSaveSteps::discard()
{
    if (!m_file.isOpen())
        return;
    // A cancelled QSaveFile removes its temporary file on commit.
    m_file.cancelWriting();
    m_file.commit();
}

SaveOutcome saveWhole(SaveSteps &steps, const QByteArrayList &pieces)
{
    return saveWhole(steps, [&pieces] { return pieces; });
}

SaveOutcome saveWhole(SaveSteps &steps, const std::function<QByteArrayList()> &piecesOnceOpen)
{
    // The reason is taken before the copy is dropped, which may reset it.
    auto failed = [&steps] {
        SaveOutcome outcome;
        outcome.reason = steps.reason();
        steps.discard();
        return outcome;
    };
    if (!steps.open())
        return failed();
    for (const QByteArray &piece : piecesOnceOpen()) {
        if (!steps.write(piece))
            return failed();
    }
    if (!steps.flush() || !steps.commit())
        return failed();
    SaveOutcome outcome;
    outcome.saved = true;
    return outcome;
}

SaveOutcome saveFileWhole(const QString &path, const QByteArrayList &pieces)
{
    FileSaveSteps steps(path);
    return saveWhole(steps, pieces);
}

}  // namespace vidorun
