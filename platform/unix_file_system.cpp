// File tests and path lookups on Linux and other Unix systems.
#include "platform/native.h"

#include <QFile>
#include <QFileInfo>

namespace vidorun {
namespace {

class UnixFileSystem final : public FileSystem {
public:
    bool fileExists(const QString &path) override
    {
        if (path.isEmpty())
            return false;
        const QFileInfo info(path);
        if (!info.isFile())
            return false;
        QFile f(path);
        return f.open(QIODevice::ReadOnly);
    }
    QString resolve(const QString &path) override { return path; }
};

}  // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() { return std::make_unique<UnixFileSystem>(); }

}  // namespace vidorun
