#pragma once

#include <QByteArray>
#include <QFile>

// The memory of this test process, from /proc/self/status (Linux), for tests
// that bound what reading a hostile file costs.
namespace vidorun::testing {

// The sanitizers keep freed memory aside on purpose and shadow every byte, so
// memory bounds mean nothing in a sanitizer build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool SanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool SanitizerBuild = true;
#else
constexpr bool SanitizerBuild = false;
#endif
#else
constexpr bool SanitizerBuild = false;
#endif

class ProcessMemory {
public:
    // Resident and peak resident size in kB; -1 where the system doesn't tell.
    static qint64 residentKb() { return statusField("VmRSS:"); }
    static qint64 peakKb() { return statusField("VmHWM:"); }

    // Sets the peak back to what is resident now; false where that can't be done.
    static bool resetPeak()
    {
#ifdef Q_OS_WIN
        return false;
#else
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
#endif
    }

    // How far the peak rises above what was resident before while `work`
    // runs, in kB; -1 where the system can't tell.
    template<typename Work>
    static qint64 peakGrowthKb(Work work)
    {
        const qint64 before = residentKb();
        const bool reset = resetPeak();
        work();
        return reset && before > 0 ? peakKb() - before : -1;
    }

private:
    static qint64 statusField(const char *name)
    {
#ifdef Q_OS_WIN
        // Under Wine, /proc would be the Linux one of Wine's own process.
        Q_UNUSED(name);
        return -1;
#else
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith(name))
                return line.mid(qsizetype(qstrlen(name))).trimmed().split(' ').value(0).toLongLong();
        }
        return -1;
#endif
    }
};

}  // namespace vidorun::testing
