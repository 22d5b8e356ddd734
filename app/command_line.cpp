#include "app/command_line.h"

#include "app/version.h"
#include "base/text.h"
#include "disccheck/disc_check.h"
#include "platform/console.h"
#include "platform/file_places.h"
#include "platform/picture_loader.h"
#include "publish/publish_command.h"

#include <algorithm>
#include <clocale>
#include <cstdio>

namespace vidorun {

namespace {

// An option of the command line. A name of one letter is written with one
// dash, a longer one with two; either may be written with one dash, and a
// value given with "=" or as the next argument.
struct Option {
    std::vector<std::string> names;
    std::string valueName;  // empty: the option takes no value
    std::string description;
    bool hidden = false;    // not listed by --help
};

// The arguments as the program takes them: GNU's long options, single-dash
// words taken as long options too, "--" ending the options. What it accepts
// and the words of its errors are those of Qt's own parser, which window
// programs have always answered with.
class ArgumentParser {
public:
    ArgumentParser(std::string description, std::string positionalName, std::string positionalSyntax,
                   std::string positionalDescription)
        : m_description(std::move(description)), m_positionalName(std::move(positionalName)),
          m_positionalSyntax(std::move(positionalSyntax)), m_positionalDescription(std::move(positionalDescription))
    {
    }

    // Answers the option's number.
    std::size_t add(Option option)
    {
        m_options.push_back(std::move(option));
        return m_options.size() - 1;
    }

    // False when an argument can't be taken; errorText() then says why.
    bool parse(const std::vector<std::string> &arguments);

    bool isSet(std::size_t option) const { return !m_values[option].empty(); }
    const std::string &value(std::size_t option) const { return m_values[option].back(); }
    const std::vector<std::string> &positionalArguments() const { return m_positional; }
    std::string errorText() const;
    std::string helpText(const std::string &program) const;

private:
    std::optional<std::size_t> find(std::string_view name) const;
    bool takeValue(std::size_t option, const std::string &argument, std::size_t &i,
                   const std::vector<std::string> &arguments);

    std::string m_description, m_positionalName, m_positionalSyntax, m_positionalDescription;
    std::vector<Option> m_options;
    // Each value an option was given; an option without one is given "".
    std::vector<std::vector<std::string>> m_values;
    std::vector<std::string> m_positional, m_unknown;
    std::string m_error;
};

std::optional<std::size_t> ArgumentParser::find(std::string_view name) const
{
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        const std::vector<std::string> &names = m_options[i].names;
        if (std::find(names.begin(), names.end(), name) != names.end())
            return i;
    }
    return std::nullopt;
}

bool ArgumentParser::takeValue(std::size_t option, const std::string &argument, std::size_t &i,
                               const std::vector<std::string> &arguments)
{
    const std::size_t assign = argument.find('=');
    if (!m_options[option].valueName.empty()) {
        if (assign != std::string::npos) {
            m_values[option].push_back(argument.substr(assign + 1));
        } else if (++i < arguments.size()) {
            m_values[option].push_back(arguments[i]);
        } else {
            m_error = "Missing value after '" + argument + "'.";
            return false;
        }
    } else if (assign != std::string::npos) {
        m_error = "Unexpected value after '" + argument.substr(0, assign) + "'.";
        return false;
    } else {
        m_values[option].emplace_back();
    }
    return true;
}

bool ArgumentParser::parse(const std::vector<std::string> &arguments)
{
    m_values.assign(m_options.size(), {});
    bool ok = true;
    bool onlyPositional = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (onlyPositional || argument.size() < 2 || argument.front() != '-') {
            m_positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyPositional = true;
            continue;
        }
        const std::size_t dashes = startsWith(argument, "--") ? 2 : 1;
        const std::string name = argument.substr(dashes, argument.find('=') - dashes);
        if (const std::optional<std::size_t> option = find(name)) {
            ok = takeValue(*option, argument, i, arguments) && ok;
        } else {
            m_unknown.push_back(name);
            ok = false;
        }
    }
    return ok;
}

std::string ArgumentParser::errorText() const
{
    if (!m_error.empty())
        return m_error;
    if (m_unknown.size() == 1)
        return "Unknown option '" + m_unknown.front() + "'.";
    if (m_unknown.size() > 1)
        return "Unknown options: " + joined(m_unknown, ", ") + ".";
    return std::string();
}

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// An option's names and its description, the description in a column of
// `nameWidth` and broken into lines that end before the 80th column.
std::string wrapped(const std::string &names, std::size_t nameWidth, const std::string &description)
{
    const std::string indentation = "  ";
    std::size_t nameIndex = 0;
    const auto nextNameSection = [&] {
        const std::string section = names.substr(std::min(nameIndex, names.size()), nameWidth);
        nameIndex += section.size();
        return section;
    };
    std::string text;
    const std::size_t max = 79 - (indentation.size() + nameWidth + 1);
    std::size_t lineStart = 0;
    constexpr std::size_t Nowhere = std::string::npos;
    std::size_t lastBreakable = Nowhere;
    std::size_t x = 0;
    const std::size_t length = description.size();
    for (std::size_t i = 0; i < length; ++i) {
        ++x;
        const char c = description[i];
        if (isSpace(c))
            lastBreakable = i;
        std::optional<std::size_t> breakAt, nextLineStart;
        if (x > max && lastBreakable != Nowhere) {
            // Time to break, and where is known.
            breakAt = lastBreakable;
            nextLineStart = lastBreakable + 1;
        } else if ((x > max - 1 && lastBreakable == Nowhere) || i == length - 1) {
            // Time to break but nowhere to, or the end of the last line.
            breakAt = i + 1;
            nextLineStart = i + 1;
        } else if (c == '\n') {
            breakAt = i;
            nextLineStart = i + 1;
        }
        if (breakAt) {
            std::string name = nextNameSection();
            name.resize(std::max(name.size(), nameWidth), ' ');
            text += indentation + name + ' ' + description.substr(lineStart, *breakAt - lineStart) + '\n';
            x = 0;
            lastBreakable = Nowhere;
            lineStart = *nextLineStart;
            // No line starts with a blank.
            if (lineStart < length && isSpace(description[lineStart]))
                ++lineStart;
            i = lineStart;
        }
    }
    while (nameIndex < names.size())
        text += indentation + nextNameSection() + '\n';
    return text;
}

std::string ArgumentParser::helpText(const std::string &program) const
{
    std::string text = "Usage: " + program;
    if (!m_options.empty())
        text += " [options]";
    text += ' ' + m_positionalSyntax + '\n' + m_description + "\n\n";
    if (!m_options.empty())
        text += "Options:\n";
    std::vector<std::string> shownNames;
    std::size_t longest = 0;
    for (const Option &option : m_options) {
        if (option.hidden)
            continue;
        std::string names;
        for (const std::string &name : option.names)
            names += (name.size() == 1 ? "-" : "--") + name + ", ";
        names.resize(names.size() - 2);
        if (!option.valueName.empty())
            names += " <" + option.valueName + '>';
        longest = std::max(longest, names.size());
        shownNames.push_back(std::move(names));
    }
    const std::size_t nameWidth = std::min<std::size_t>(50, longest + 1);
    auto names = shownNames.begin();
    for (const Option &option : m_options) {
        if (!option.hidden)
            text += wrapped(*names++, nameWidth, option.description);
    }
    if (!m_options.empty())
        text += '\n';
    text += "Arguments:\n" + wrapped(m_positionalName, nameWidth, m_positionalDescription);
    return text;
}

// Options every Qt window program takes, which the window's start-up reads
// from the arguments itself.
void acceptQtOptions(ArgumentParser &parser)
{
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "qwindowtitle", "qwindowicon", "style", "stylesheet", "session", "display",
                             "geometry"})
        parser.add({{name}, "value", std::string(), true});
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
        parser.add({{name}, std::string(), std::string(), true});
}

void printError(const std::string &text)
{
    answerOnParentConsole();
    writeAnswer(stderr, "vidorun: " + text + '\n');
}

// "--check=FOLDER", as GNU programs take an option's value: the option, and
// the folder apart from the other arguments. Nothing after "--" is an option.
std::optional<std::string> takeCheckFolder(std::vector<std::string> &arguments)
{
    for (std::size_t i = 1; i < arguments.size() && arguments[i] != "--"; ++i) {
        for (const std::string_view option : {"--check=", "-check="}) {
            if (startsWith(arguments[i], option)) {
                const std::string folder = arguments[i].substr(option.size());
                arguments[i] = "--check";
                return folder;
            }
        }
    }
    return std::nullopt;
}

// Messages of the system (strerror) in the user's language, as every
// program's; numbers and the program's own words stay as they are.
void useTheUsersLanguage()
{
#ifndef _WIN32
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_MESSAGES, "");
#endif
}

}  // namespace

DiscCheckOptions discCheckOptions()
{
    DiscCheckOptions options;
    options.probePicture = readPictureHeader;
    options.maxPicturePixels = MaxPicturePixels;
    return options;
}

int runDiscCheck(const std::string &folder, std::string &out, std::string &err)
{
    const DiscCheckReport report = checkDisc(folder, discCheckOptions());
    if (!report.failure.empty()) {
        err += "vidorun: " + folder + ": " + report.failure + '\n';
        return exitStatus(report);
    }
    for (const std::string &line : reportLines(versionText(), folder, report))
        out += line + '\n';
    return exitStatus(report);
}

std::optional<int> runCommandLine(int argc, char *argv[])
{
    std::vector<std::string> arguments = programArguments(argc, argv);
    const std::optional<std::string> checkFolder = takeCheckFolder(arguments);

    ArgumentParser parser("Vidorun shows the movie menu of the disc it is started from: the working folder, or FOLDER.",
                          "FOLDER", "[FOLDER]", "The disc's root folder, holding its Autorun.inf.");
#ifdef _WIN32
    const std::size_t help = parser.add({{"?", "h", "help"}, "", "Displays help on commandline options."});
#else
    const std::size_t help = parser.add({{"h", "help"}, "", "Displays help on commandline options."});
#endif
    const std::size_t version = parser.add({{"v", "version"}, "", "Displays version information."});
    const std::size_t check = parser.add(
        {{"check"}, "",
         "Check the disc folder (--check FOLDER or --check=FOLDER; the working folder without one) as a viewer "
         "would meet it, print what is wrong and exit: 0 when nothing is, 1 when something is, 2 when it can't be "
         "read."});
    std::vector<std::size_t> publishOptions;
    for (const OptionHelp &option : publishOptionHelp())
        publishOptions.push_back(parser.add({{option.name}, option.valueName, option.description}));
    acceptQtOptions(parser);
    if (!parser.parse(arguments)) {
        printError(parser.errorText() + "\nSee vidorun --help.");
        return 2;
    }

    PublishArguments publish;
    publish.folders = parser.positionalArguments();
    if (checkFolder) {
        if (checkFolder->empty()) {
            printError("--check= names no folder\nSee vidorun --help.");
            return 2;
        }
        publish.folders.insert(publish.folders.begin(), *checkFolder);
    }
    if (parser.isSet(publishOptions[0]))
        publish.project = parser.value(publishOptions[0]);
    publish.iso = parser.isSet(publishOptions[1]);
    publish.force = parser.isSet(publishOptions[2]);
    publish.quiet = parser.isSet(publishOptions[3]);
    publish.linuxOnly = parser.isSet(publishOptions[4]);
    const std::vector<std::string> &folders = publish.folders;
    // Publishing takes one folder, to make the discs in, and says so itself.
    const bool publishing = publishAsked(publish);
    if (folders.size() > 1 && !publishing) {
        printError(fill("one disc folder at most, not %1\nSee vidorun --help.", {std::to_string(folders.size())}));
        return 2;
    }

    if (parser.isSet(help) || parser.isSet(version) || parser.isSet(check) || publishing) {
        // No display, no fonts, no window: the answer only.
        answerOnParentConsole();
        useTheUsersLanguage();
        if (publishing && !parser.isSet(help) && !parser.isSet(version))
            return runPublishCommand(publish, discCheckOptions(), versionText());
        std::string output, errors;
        int status = 0;
        if (parser.isSet(help))
            output = parser.helpText(arguments.empty() ? std::string("vidorun") : arguments.front());
        else if (parser.isSet(version))
            output = "Vidorun " + versionText() + '\n';
        else
            status = runDiscCheck(folders.empty() ? std::string(".") : folders.front(), output, errors);
        writeAnswer(stdout, output);
        writeAnswer(stderr, errors);
        return status;
    }

    if (folders.empty())
        return std::nullopt;
    // The program reads Autorun.inf and looks for the markers in its working
    // folder; started in the disc's folder, it is started from the disc.
    const std::string &folder = folders.front();
    const FileKind kind = kindAt(folder);
    if (kind == FileKind::Missing) {
        printError(folder + ": no such folder");
        return 2;
    }
    if (kind != FileKind::Folder) {
        printError(folder + " is not a folder: give the disc's folder");
        return 2;
    }
    if (!setCurrentFolder(folder)) {
        printError(folder + ": the folder can't be opened");
        return 2;
    }
    return std::nullopt;
}

}  // namespace vidorun
