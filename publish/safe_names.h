#pragma once

// The names publishing gives what it puts on a disc. Every name it makes
// passes the disc's name rules (nameFault in disccheck/disc_names.h) and is
// the only one of its folder to Windows and Joliet (jolietKey); the same
// names in the same order always give the same result.
#include <set>
#include <string>
#include <string_view>

namespace vidorun {

enum class NameLetters {
    Any,    // any character the rules allow
    Ascii,  // only ASCII: for names an Autorun.inf in the code page names
};

// `name` made fit for a disc, as close to it as can be: characters Windows
// or Joliet refuse (control characters, * / : ; ? \ < > " |, characters
// beyond U+FFFF) become '_'; with Ascii, a letter beyond ASCII becomes its
// plain letter ("é" e, "ß" ss) or '_'; trailing dots and blanks go; a
// Windows device name ("CON.avi") gets a '_' in front; a name over 64
// characters is shortened, its extension kept; nothing left gives "_".
std::string safeFileName(std::string_view name, NameLetters letters);

// A CD label as an ISO 9660 volume identifier: capitals, digits and '_',
// 32 characters at most; "VIDORUN" when nothing is left.
std::string volumeIdentifier(std::string_view label);

struct GivenName {
    std::string name;
    std::string reason;  // why it differs from the name asked for; empty when it doesn't
};

// The names of one folder on the disc.
class FolderNames {
public:
    // A name the folder holds already, as it is.
    void reserve(std::string_view name);
    // The safe name for `name`; when another name of the folder is the same
    // to Windows and Joliet, it is numbered ("PART_2.AVI") until it is not.
    // `whyAscii` says why the names keep to ASCII, for the reason given.
    GivenName add(std::string_view name, NameLetters letters, const std::string &whyAscii = std::string());

private:
    std::set<std::string> m_keys;
};

}  // namespace vidorun
