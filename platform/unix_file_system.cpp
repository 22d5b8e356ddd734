// File tests and path lookups on Linux and other Unix systems, where a disc
// made on Windows shows its names in another letter case and its paths use
// "\" and drive letters.
#include "platform/disc_path.h"
#include "platform/file_test.h"
#include "platform/native.h"

#include <QDir>
#include <QFile>

namespace vidorun {
namespace {

class UnixFileSystem final : public FileSystem {
public:
    bool fileExists(const QString &path) override
    {
        if (path.isEmpty())
            return false;
        return isReadableRegularFile(QFile::encodeName(resolve(path)).toStdString());
    }

    QString resolve(const QString &path) override
    {
        if (path.isEmpty())
            return path;
        const std::string resolved = resolveDiscPath(QFile::encodeName(path).toStdString(),
                                                     QFile::encodeName(QDir::currentPath()).toStdString());
        return QFile::decodeName(QByteArray::fromStdString(resolved));
    }
};

}  // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() { return std::make_unique<UnixFileSystem>(); }

}  // namespace vidorun
