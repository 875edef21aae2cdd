#pragma once
// The screen-saver library's contract: the callbacks it binds by name and the default
// procedure it offers. On Windows the toolchain's header declares them; elsewhere the
// stand-in does, and each host supplies DefScreenSaverProc's behaviour.
#include "platform/platform.h"
#ifdef _WIN32
#include <scrnsave.h>
#else
#include "platform/standin/screen_saver_library.h"
#endif
