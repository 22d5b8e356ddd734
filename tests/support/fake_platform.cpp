#include "support/fake_platform.h"

#include "platform/native.h"

#include <QImageReader>

namespace vidorun::testing {

MsgAnswer FakeMessages::show(QWidget *, const QString &text, const QString &title, int style)
{
    shown.push_back({text, title, style});
    if (style != MsgStyle::Question)
        return MsgAnswer::Ok;
    if (answers.empty())
        return MsgAnswer::No;
    const MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString FakeInputBox::ask(QWidget *, const QString &prompt, const QString &title, const QString &defaultAnswer)
{
    asked.push_back({prompt, title, defaultAnswer});
    if (answers.empty())
        return QString();
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> FakeFileDialogs::run(QWidget *, FileDialogKind kind, const FileDialogRequest &request)
{
    uses.push_back({kind, request});
    if (answers.empty())
        return std::nullopt;
    // Taken apart rather than copied whole: GCC 12 warns, wrongly, that a
    // copied optional string may be used uninitialised.
    const bool chosen = answers.front().has_value();
    const QString name = chosen ? *answers.front() : QString();
    answers.pop_front();
    if (!chosen)
        return std::nullopt;
    return name;
}

LaunchResult FakeLauncher::openDocument(const QString &path)
{
    documents << path;
    return fail ? LaunchResult{false, QStringLiteral("no program opens this file")} : LaunchResult{true, {}};
}

LaunchResult FakeLauncher::startProgram(const QString &path)
{
    programs << path;
    return fail ? LaunchResult{false, QStringLiteral("not a program")} : LaunchResult{true, {}};
}

int FakeMediaControl::sendString(const std::string &command)
{
    commands.push_back(command);
    return result;
}

RealFiles::RealFiles() : m_real(makeNativeFileSystem()) {}
RealFiles::~RealFiles() = default;

bool RealFiles::fileExists(const QString &path)
{
    return m_real->fileExists(path);
}

QString RealFiles::resolve(const QString &path)
{
    return m_real->resolve(path);
}

QImage FakePictures::load(const QString &path, const QSize &)
{
    loaded << path;
    return QImageReader(path).read();
}

void FakePictures::loadInBackground(const QString &path, const QSize &shownSize, QObject *receiver,
                                    std::function<void(const QImage &)> done)
{
    if (!deferred) {
        PictureLoader::loadInBackground(path, shownSize, receiver, std::move(done));
        return;
    }
    m_pending.push_back({receiver, load(path, shownSize), std::move(done)});
}

void FakePictures::finishBackgroundLoads()
{
    std::vector<PendingLoad> pending;
    pending.swap(m_pending);
    for (const PendingLoad &p : pending) {
        if (p.receiver)
            p.done(p.picture);
    }
}

}  // namespace vidorun::testing
