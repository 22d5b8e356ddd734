#pragma once

// What the Play command and the tray toggle decide, without any window:
// the marker name, the description of a start and the tray's steps.
#include <optional>
#include <string>

namespace vidorun {

// The Play command's messages.
inline const std::string NoMovieSelectedText = "There is no movie selected!";
inline const std::string NoMovieSelectedTitle = "Select a movie first!";
inline const std::string WrongCdTitle = "Wrong CD!";

// "Please insert CD with label: '<label>'", the label as stored.
std::string wrongCdText(const std::string &label);
// "I can't find '<path>'", the path as stored.
std::string missingMovieText(const std::string &path);
// The movie could not be started: names the movie as stored and adds the
// system's reason on a second line when there is one.
std::string startFailedText(const std::string &path, const std::string &reason);

// The file whose presence in the working folder proves that the right disc
// is in: the CD label followed by ".ini", the whole upper-cased ("Disc1"
// gives "DISC1.INI", an empty label ".INI").
std::string markerFileName(const std::string &label);

// How a movie start is described: "CMD /C <path>" on the Windows NT family
// (platform code exactly "2"), "START <path>" everywhere else. The path is
// appended as stored. Only a description: the movie itself is handed to the
// system's document-open service as one whole argument, never to a command
// interpreter.
std::string startCommandLine(const std::string &platformId, const std::string &path);

// True when the project asks the menu to close after a successful start:
// its close switch is exactly "1".
bool closesAfterPlay(const std::string &closeAfterPlay);

// The tray states and the Eject button's two captions.
inline const std::string TrayClosed = "CLOSED";
inline const std::string TrayOpen = "OPEN";
inline const std::string EjectCaption = "E J E C T";
inline const std::string CloseCaption = "&CLOSE";

// The media control strings that open and close the default CD drive's tray.
inline const std::string TrayOpenCommand = "set CDAudio door open";
inline const std::string TrayCloseCommand = "set CDAudio door closed";

// One press of the tray toggle, done in this order: set the caption, send
// the command, take the next state.
struct TrayStep {
    std::string caption;
    std::string command;
    std::string nextState;
};

// The step for the state the program believes the tray is in; none for a
// state that is neither "CLOSED" nor "OPEN" (compared exactly).
std::optional<TrayStep> trayStep(const std::string &trayState);

}  // namespace vidorun
