#include "publish/windows_program.h"

#include "platform/publish_files.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace vidorun {

QStringList windowsProgramCandidates(const QString &runningProgram)
{
#ifdef Q_OS_WIN
    return {runningProgram};
#else
    const QDir folder = QFileInfo(runningProgram).absoluteDir();
    QStringList candidates = {QDir::cleanPath(folder.filePath(QStringLiteral("../share/vidorun/Vidorun.exe")))};
    if (QFileInfo::exists(folder.filePath(QStringLiteral("CMakeCache.txt"))))
        candidates << QDir::cleanPath(folder.filePath(QStringLiteral("../build-windows/Vidorun.exe")));
    return candidates;
#endif
}

bool isWindowsProgramHeader(const QByteArray &head)
{
    constexpr int PeOffsetAt = 0x3C;
    if (head.size() < PeOffsetAt + 4 || !head.startsWith("MZ"))
        return false;
    const quint32 peOffset = qFromLittleEndian<quint32>(head.constData() + PeOffsetAt);
    return peOffset <= quint32(head.size() - 4) && head.mid(qsizetype(peOffset), 4) == QByteArray("PE\0\0", 4);
}

WindowsProgram findWindowsProgram(const QStringList &candidates, PublishFiles &files)
{
    QStringList refused;
    for (const QString &candidate : candidates) {
        FileKind kind;
        QString reason;
        const std::unique_ptr<ReadableFile> file = files.openForReading(candidate, kind, reason);
        if (!file) {
            if (kind != FileKind::Missing)
                refused << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(candidate), reason);
            continue;
        }
        QByteArray head(4096, '\0');
        const qint64 got = file->read(head.data(), head.size());
        head.truncate(got < 0 ? 0 : got);
        if (isWindowsProgramHeader(head))
            return {candidate, file->size(), QString()};
        refused << QStringLiteral("%1 is no Windows program").arg(QDir::toNativeSeparators(candidate));
    }
    WindowsProgram none;
    none.error = QStringLiteral("no Vidorun.exe to put on the discs");
    if (!refused.isEmpty())
        none.error += QStringLiteral(" (%1)").arg(refused.join(QStringLiteral("; ")));
    none.error += QStringLiteral(
        ": install Vidorun's Debian package, which carries it (make package builds one), or build it in "
        "Vidorun's source with make windows; --linux-only makes discs without it, for viewers on Linux");
    return none;
}

}  // namespace vidorun
