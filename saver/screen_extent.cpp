// The screen extent is read while the program starts, before the screen-saver library
// runs, and kept for the whole run, even if the resolution changes.
#include "scene/screen_extent.h"

#include "platform/platform.h"

int WIN_WIDTH = GetSystemMetrics(SM_CXSCREEN);
int WIN_HEIGHT = GetSystemMetrics(SM_CYSCREEN);
