// Commands that open the child windows, and the information commands.
#include "app/vidorun_main.h"

namespace vidorun {

void VidorunMain::ADDMOVIE_Click() {}
void VidorunMain::REMOVEMOVIE_Click() {}
void VidorunMain::CURRENTSETTINGS_Click() {}
void VidorunMain::About_Click() {}
void VidorunMain::ABOUTSCREEN_Click() { About_Click(); }
void VidorunMain::HELPME_Click() { notImplementedYet(); }
void VidorunMain::ENGLISHLANGUAGE_Click() { notImplementedYet(); }
void VidorunMain::DUTCHLANGUAGE_Click() { notImplementedYet(); }
void VidorunMain::notImplementedYet() {}

}  // namespace vidorun
