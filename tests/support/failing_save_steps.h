#pragma once

#include "projectfile/atomic_save.h"

#include <QStringList>

#include <utility>

namespace vidorun::testing {

// Passes every step of a save on to real steps, but fails on purpose at step
// number `failAt` (counting from 1: open, each write, flush, commit) with the
// given reason. A failing write first passes half its piece on, so the copy
// is left written part-way; a failing commit never reaches the real commit.
// failAt 0 fails nothing; `steps` then names every step a save takes.
class FailingSaveSteps final : public SaveSteps {
public:
    FailingSaveSteps(SaveSteps &real, int failAt, QString failReason = QStringLiteral("No space left on device"))
        : m_real(real), m_failAt(failAt), m_failReason(std::move(failReason))
    {
    }

    bool open() override { return step(QStringLiteral("open"), [this] { return m_real.open(); }); }
    bool write(const QByteArray &piece) override
    {
        if (m_taken + 1 == m_failAt)
            m_real.write(piece.left(piece.size() / 2));
        return step(QStringLiteral("write"), [&] { return m_real.write(piece); });
    }
    bool flush() override { return step(QStringLiteral("flush"), [this] { return m_real.flush(); }); }
    bool commit() override { return step(QStringLiteral("commit"), [this] { return m_real.commit(); }); }
    void discard() override
    {
        discarded = true;
        m_real.discard();
    }
    QString reason() const override { return m_failed ? m_failReason : m_real.reason(); }

    QStringList steps;
    bool discarded = false;

private:
    template<typename Real>
    bool step(const QString &name, Real real)
    {
        steps << name;
        if (++m_taken == m_failAt) {
            m_failed = true;
            return false;
        }
        return real();
    }

    SaveSteps &m_real;
    int m_failAt;
    QString m_failReason;
    int m_taken = 0;
    bool m_failed = false;
};

}  // namespace vidorun::testing
