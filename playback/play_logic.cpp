#include "playback/play_logic.h"

#include "projectfile/letter_case.h"

namespace vidorun {

std::string wrongCdText(const std::string &label)
{
    return "Please insert CD with label: '" + label + '\'';
}

std::string missingMovieText(const std::string &path)
{
    return "I can't find '" + path + '\'';
}

std::string startFailedText(const std::string &path, const std::string &reason)
{
    std::string text = "I can't play '" + path + '\'';
    if (!reason.empty())
        text += "\r\n" + reason;
    return text;
}

std::string markerFileName(const std::string &label)
{
    return windowsUpper(label + ".ini");
}

std::string startCommandLine(const std::string &platformId, const std::string &path)
{
    if (platformId == "2")
        return "CMD /C " + path;
    return "START " + path;
}

bool closesAfterPlay(const std::string &closeAfterPlay)
{
    return closeAfterPlay == "1";
}

std::optional<TrayStep> trayStep(const std::string &trayState)
{
    if (trayState == TrayClosed)
        return TrayStep{CloseCaption, TrayOpenCommand, TrayOpen};
    if (trayState == TrayOpen)
        return TrayStep{EjectCaption, TrayCloseCommand, TrayClosed};
    return std::nullopt;
}

}  // namespace vidorun
