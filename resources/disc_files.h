#pragma once

// What publishing puts on every disc from the program itself: the licence
// notices that handing out Vidorun.exe requires, and the script Linux
// desktops offer to run. Their bytes are built into the program from
// resources/NOTICES.txt and resources/autorun.sh (embed_files.cmake).
#include <string_view>

namespace vidorun {

std::string_view licenceNotices();
std::string_view autorunScript();

}  // namespace vidorun
