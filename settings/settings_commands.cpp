// Project title, cover picture, player and codec, and their installers.
#include "app/vidorun_main.h"

namespace vidorun {

void VidorunMain::VIDORUNTITLE_Click() {}
void VidorunMain::SELECTCOVER_Click() {}
void VidorunMain::PLAYERLOCATION_Click() {}
void VidorunMain::CODECLOCATION_Click() {}
void VidorunMain::MPlayer_Click() {}
void VidorunMain::Codec_Button_Click() {}
void VidorunMain::INSTALLPLAYER_Click() { MPlayer_Click(); }
void VidorunMain::INSTALLCODEC_Click() { Codec_Button_Click(); }

}  // namespace vidorun
