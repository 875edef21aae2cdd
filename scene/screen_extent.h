#pragma once
// The size of the primary screen in pixels, taken once while the program starts and never
// updated: all scene geometry and every frame use it, the preview included. Defined by
// the screen-saver shell (saver/screen_extent.cpp).
extern int WIN_WIDTH;
extern int WIN_HEIGHT;
