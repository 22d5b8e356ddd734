#include "publish/publish_command.h"

#include "platform/console.h"
#include "platform/console_session.h"
#include "platform/file_places.h"
#include "platform/publish_files.h"
#include "publish/publisher.h"
#include "publish/windows_program.h"

#include <cstdio>

namespace vidorun {

const std::vector<OptionHelp> &publishOptionHelp()
{
    static const std::vector<OptionHelp> options = {
        {"publish", "PROJECT",
         "Lay out every disc of the project PROJECT (an Autorun.inf, or its folder) ready to burn, in the FOLDER "
         "given after it: FOLDER/<LABEL>/ for each CD label, then check each disc. Exit status 0 when every disc "
         "was made and checks clean, 1 when a check finds a problem, 2 when a disc could not be made."},
        {"iso", "",
         "With --publish: also write each disc's image, FOLDER/<LABEL>.iso (ISO 9660 with Joliet and Rock Ridge "
         "names)."},
        {"force", "",
         "With --publish: replace discs and images already in FOLDER, once the new ones are complete."},
        {"quiet", "", "With --publish: print nothing but problems."},
        {"linux-only", "", "With --publish: discs without Vidorun.exe, for viewers on Linux."},
    };
    return options;
}

bool publishAsked(const PublishArguments &arguments)
{
    return arguments.project || arguments.iso || arguments.force || arguments.quiet || arguments.linuxOnly;
}

int runPublishCommand(const PublishArguments &arguments, const DiscCheckOptions &checkOptions,
                      const std::string &version)
{
    const PublishOutput out = [](std::string_view text) { writeAnswer(stdout, std::string(text)); };
    const PublishOutput err = [](std::string_view text) { writeAnswer(stderr, std::string(text)); };
    const std::vector<std::string> &folders = arguments.folders;
    if (!arguments.project || folders.size() != 1) {
        err(std::string("vidorun: ")
            + (arguments.project ? "--publish needs one folder to make the discs in"
                                 : "--iso, --force, --quiet and --linux-only go with --publish")
            + ": vidorun --publish PROJECT FOLDER [--iso]\nSee vidorun --help.\n");
        return 2;
    }
    if (folders.front().empty() || arguments.project->empty()) {
        err(std::string("vidorun: ")
            + (folders.front().empty() ? "the folder to make the discs in is an empty name"
                                       : "the project is an empty name")
            + ": vidorun --publish PROJECT FOLDER [--iso]\n");
        return 2;
    }
    PublishRequest request;
    request.project = *arguments.project;
    // Absolute from the start: a relative folder would mean another place
    // to anything that changes the working folder, and on Windows a long
    // path needs its absolute form.
    request.outFolder = absolutePath(folders.front());
    request.image = arguments.iso;
    request.replace = arguments.force;
    request.quiet = arguments.quiet;
    request.windowsProgram = !arguments.linuxOnly;
    request.windowsProgramCandidates = windowsProgramCandidates(runningProgramPath());

    const std::unique_ptr<PublishFiles> files = makeNativePublishFiles();
    const InterruptionWatch interruption;
    PublishEnvironment environment{*files, checkOptions, &InterruptionWatch::interrupted,
                                   standardOutputIsTerminal(), terminalColumns(), version};
    return publishProject(request, environment, out, err);
}

}  // namespace vidorun
