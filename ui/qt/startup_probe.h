#pragma once

#include <functional>

class QWidget;

namespace vidorun {

// Start-up measuring, for the benchmarks. When the environment variable
// VIDORUN_STARTUP_PROBE is set, the program prints one line on standard
// output at the first frame painted in `window`:
//   first-frame ms=<since the program was loaded> peak_kb=<peak resident
//   memory so far> width=<window width> height=<window height>
// and one more at the first frame painted once `settled` answers true (at
// once if it is not given), when the window shows all it shows at start:
//   settled-frame ms=<...> peak_kb=<...>
// and then ends at once, or goes on when the variable is "report" (the smoke
// runs). Without the variable it does nothing and costs one environment
// look-up.
void watchFirstFrame(QWidget &window, std::function<bool()> settled = {});

}  // namespace vidorun
