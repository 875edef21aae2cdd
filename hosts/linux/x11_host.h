#pragma once
// The saver on an X display, given the contract the Windows screen-saver library gives
// it: one window, and WM_CREATE, WM_TIMER at the period it set, WM_ERASEBKGND and
// WM_PAINT on exposure, WM_CLOSE and WM_DESTROY, all on this one thread.
#include <X11/Xlib.h>

#include "hosts/linux/options.h"

namespace linux_host {

// Runs options.mode (Window, FullScreen, Root or Preview) on `display` until the saver
// ends, closes the display and returns the process's exit status. The screen extent the
// saver read at start-up must be the display's default screen's.
int RunX11(Display* display, const Options& options);

}  // namespace linux_host
