#pragma once

#include <QByteArrayList>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>

namespace vidorun {

// The steps of saving a file whole: a new copy is made beside the target,
// written piece by piece, flushed, and only then put in the target's place.
// Until the commit the target stays as it was. Every step can fail; reason()
// then gives the system's words for it.
class SaveSteps {
public:
    virtual ~SaveSteps() = default;
    virtual bool open() = 0;
    virtual bool write(const QByteArray &piece) = 0;
    virtual bool flush() = 0;
    virtual bool commit() = 0;
    // Drops the copy, if there is one, after a failure at any step; the
    // target is left untouched.
    virtual void discard() = 0;
    virtual QString reason() const = 0;
};

// The real steps, through QSaveFile: the copy is a temporary file in the
// target's folder, renamed over the target on commit.
class FileSaveSteps final : public SaveSteps {
public:
    explicit FileSaveSteps(const QString &path) : m_file(path) {}
    bool open() override;
    bool write(const QByteArray &piece) override;
    bool flush() override;
    bool commit() override;
    void discard() override;
    QString reason() const override { return m_file.errorString(); }

private:
    QSaveFile m_file;
};

// Makes the steps that save the file at `path`; FileSaveSteps unless a test
// hands in steps that fail on purpose.
using SaveStepsFactory = std::function<std::unique_ptr<SaveSteps>(const QString &path)>;

struct SaveOutcome {
    bool saved = false;
    QString reason;  // the system's reason when not saved
};

// Saves the pieces, one write each, whole or not at all: on any failure the
// copy is dropped and the target keeps its earlier bytes.
SaveOutcome saveWhole(SaveSteps &steps, const QByteArrayList &pieces);
// The same, with the pieces made only once the copy is open: what they say
// may then depend on the save having begun.
SaveOutcome saveWhole(SaveSteps &steps, const std::function<QByteArrayList()> &piecesOnceOpen);

// The same for the file at `path`.
SaveOutcome saveFileWhole(const QString &path, const QByteArrayList &pieces);

}  // namespace vidorun
