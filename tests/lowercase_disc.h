#pragma once

// A disc made on Windows as Linux shows a plain ISO 9660 disc: every name in
// lower case, while its Autorun.inf holds upper-case Windows paths with ".\",
// drive letters and backslashes.
#include "support/lowercase_disc_files.h"
#include "support/main_window_fixture.h"
#include "support/picture_files.h"

namespace vidorun::testing {

class LowerCaseDiscTest : public MainWindowTest {
protected:
    // Lays out the disc in the working folder; `extraLines` go at the end of
    // its Autorun.inf.
    void makeDisc(const std::vector<std::string> &extraLines = {}) { makeLowerCaseDisc(m_folder.path(), extraLines); }

    // A picture of its own colour, so that two are never the same file.
    void writePicture(const std::string &name, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        writeFile(name, bitmapPicture(64, 48, red, green, blue));
    }
};

}  // namespace vidorun::testing
