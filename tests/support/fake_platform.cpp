#include "support/fake_platform.h"

#include "platform/native.h"

namespace vidorun::testing {

namespace {

void printQuoted(const std::string &text, std::ostream &out)
{
    static const char hex[] = "0123456789ABCDEF";
    out << '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\r': out << "\\r"; break;
        case '\n': out << "\\n"; break;
        case '\t': out << "\\t"; break;
        case '"': out << "\\\""; break;
        case '\\': out << "\\\\"; break;
        default:
            if (byte < 0x20 || byte == 0x7F)
                out << "\\x" << hex[byte >> 4] << hex[byte & 0xF];
            else
                out << c;
        }
    }
    out << '"';
}

}  // namespace

void PrintTo(const ShownMessage &message, std::ostream *out)
{
    *out << '{';
    printQuoted(message.text, *out);
    *out << ", ";
    printQuoted(message.title, *out);
    *out << ", " << message.style << '}';
}

MsgAnswer FakeMessages::show(const ui::WindowView *, const std::string &text, const std::string &title, int style)
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

std::string FakeInputBox::ask(const ui::WindowView *, const std::string &prompt, const std::string &title,
                              const std::string &defaultAnswer)
{
    asked.push_back({prompt, title, defaultAnswer});
    if (answers.empty())
        return {};
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> FakeFileDialogs::run(const ui::WindowView *, FileDialogKind kind,
                                                const FileDialogRequest &request)
{
    uses.push_back({kind, request});
    if (answers.empty())
        return std::nullopt;
    // Taken apart rather than copied whole: GCC 12 warns, wrongly, that a
    // copied optional string may be used uninitialised.
    const bool chosen = answers.front().has_value();
    const std::string name = chosen ? *answers.front() : std::string();
    answers.pop_front();
    if (!chosen)
        return std::nullopt;
    return name;
}

LaunchResult FakeLauncher::openDocument(const std::string &path)
{
    documents.push_back(path);
    return fail ? LaunchResult{false, "no program opens this file"} : LaunchResult{true, {}};
}

LaunchResult FakeLauncher::startProgram(const std::string &path)
{
    programs.push_back(path);
    return fail ? LaunchResult{false, "not a program"} : LaunchResult{true, {}};
}

int FakeMediaControl::sendString(const std::string &command)
{
    commands.push_back(command);
    return result;
}

RealFiles::RealFiles() : m_real(makeNativeFileSystem()) {}
RealFiles::~RealFiles() = default;

bool RealFiles::fileExists(const std::string &path)
{
    return m_real->fileExists(path);
}

std::string RealFiles::resolve(const std::string &path)
{
    return m_real->resolve(path);
}

PictureHandle FakePictures::load(const std::string &path, int width, int height)
{
    loaded.push_back(path);
    return m_real.load(path, width, height);
}

void FakePictures::loadInBackground(const std::string &path, int width, int height,
                                    std::function<void(PictureHandle)> done)
{
    if (!deferred) {
        done(load(path, width, height));
        return;
    }
    m_pending.push_back({load(path, width, height), std::move(done)});
}

void FakePictures::finishBackgroundLoads()
{
    std::vector<PendingLoad> pending;
    pending.swap(m_pending);
    for (const PendingLoad &p : pending)
        p.done(p.picture);
}

}  // namespace vidorun::testing
