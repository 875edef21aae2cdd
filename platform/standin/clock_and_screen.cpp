// The tick count and the screen metrics of the stand-in.
#include <chrono>

#include "platform/standin/objects.h"

using standin::detail::TheState;

DWORD WINAPI GetTickCount() {
    const auto& state = TheState();
    if (state.manualClock) return state.tickCount;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    // Wraps every 49.7 days, as the platform's count does.
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

int WINAPI GetSystemMetrics(int index) {
    const standin::Size screen = TheState().screen;
    switch (index) {
    case SM_CXSCREEN: return screen.width;
    case SM_CYSCREEN: return screen.height;
    default: return 0;
    }
}

namespace standin {

void SetTickCount(DWORD milliseconds) {
    TheState().manualClock = true;
    TheState().tickCount = milliseconds;
}

void AdvanceTickCount(DWORD milliseconds) { SetTickCount(GetTickCount() + milliseconds); }

void SetScreenSize(Size size) { TheState().screen = size; }

}  // namespace standin
