// Links every entry of the Windows layer into a program, so that the Windows
// cross compiler checks the code and the system libraries it needs. Built by
// the windows_layer_compiles test; never run.
#include "platform/windows_services.h"

int main()
{
    using namespace vidorun::win32;
    const bool started = openDocumentMinimized(L"MOVIES\\SUNRISE.AVI").started || startProgram(L"SETUP.EXE").started;
    const bool chosen = runFileDialog(nullptr, FileDialogOptions{}).has_value();
    return (started ? 1 : 0) + (chosen ? 1 : 0) + sendMciString("set CDAudio door open") + platformId();
}
