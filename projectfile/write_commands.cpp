// The main window's writing side: File > Write.
#include "app/vidorun_main.h"

namespace vidorun {

void VidorunMain::SAVEFILE_Click() {}

void VidorunMain::WriteProjectFile(const QString &) {}

}  // namespace vidorun
