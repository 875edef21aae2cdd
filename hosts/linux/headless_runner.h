#pragma once
// The saver with no display: an in-memory window, a simulated clock of one timer period
// per frame, and PNG files for a person or a test to look at.
#include "hosts/linux/options.h"

namespace linux_host {

// Delivers WM_CREATE, options.frames x WM_TIMER and WM_DESTROY to the saver, writing the
// frames the options ask for. The screen must already be options.width x options.height
// (see main.cpp). Returns the process's exit status.
int RunHeadless(const Options& options);

}  // namespace linux_host
