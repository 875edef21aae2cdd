#pragma once
// Which input ends the saver. The host's default procedure asks this about every message
// that the saver passes on to it; kept apart from X so that the rules can be tested alone.
#include "hosts/linux/options.h"
#include "platform/standin/win32.h"

namespace linux_host {

struct InputPolicy {
    Mode mode = Mode::Window;
    // Where the pointer stood, in the window's coordinates, when the saver started.
    POINT pointerAtStart{0, 0};
};

// Full screen: a key, a mouse button or the pointer leaving its starting point. Own
// window: a key (closing the window is WM_CLOSE, not input). Root and preview: nothing;
// input belongs to XScreenSaver or to the program that owns the window.
bool InputEndsSaver(const InputPolicy& policy, UINT message, LPARAM lParam);

// A mouse message's lParam: x in the low 16 bits, y in the next 16, each signed, as the
// platform packs client coordinates.
LPARAM PointerLParam(int x, int y);

}  // namespace linux_host
