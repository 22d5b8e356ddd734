// Playing the selected movie, and the CD tray.
#include "app/vidorun_main.h"

namespace vidorun {

void VidorunMain::PlayButton_Click() {}
void VidorunMain::PLAYMOVIE_Click() {}
void VidorunMain::PlaySelectedMovie() {}
void VidorunMain::EjectButton_Click() {}

}  // namespace vidorun
