#pragma once

// The resources the Windows front end takes from the program's own file:
// the icon (resources/vidorun.rc) and the codec logo (win32_front_end.rc).
#define VIDORUN_ICON 1
#define VIDORUN_CODEC_LOGO 101
