#pragma once

// Start-up measuring, for the benchmarks, as the Linux program does it
// (ui/qt/startup_probe.h): with VIDORUN_STARTUP_PROBE set, one line on
// standard output at the first frame painted in `window`,
//   first-frame ms=<since the program was loaded> peak_kb=<peak working set> width=<client width> height=<client height>
// and one at the first frame painted once `settled` answers true,
//   settled-frame ms=<...> peak_kb=<...>
// and then the program ends at once, or goes on when the variable is
// "report". Without the variable it does nothing and costs one look-up.
#include "platform/win32_api.h"

#include <functional>

namespace vidorun::ui {
class FrontEnd;
}

namespace vidorun::ui::win32 {

void watchFirstFrame(HWND window, FrontEnd &frontEnd, std::function<bool()> settled = {});

}  // namespace vidorun::ui::win32
