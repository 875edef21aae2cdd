// Windows of the stand-in: what a host makes them, their device contexts, their timers
// and their default procedure.
#include <algorithm>

#include "platform/standin/objects.h"
#include "platform/standin/screen_saver_library.h"

using namespace standin;
using namespace standin::detail;

namespace standin {

HWND CreateWindowHandle(Surface surface, WNDPROC defaultProcedure) {
    Objects& objects = TheState().objects;
    const HWND window = objects.NewHandle<HWND>(Kind::Window);
    objects.windows.Insert(Objects::Value(window), Window{surface, defaultProcedure, {}});
    return window;
}

void SetWindowSurface(HWND window, Surface surface) {
    if (Window* found = FindWindow(window)) found->surface = surface;
}

void DestroyWindowHandle(HWND window) {
    Objects& objects = TheState().objects;
    if (!objects.windows.Erase(Objects::Value(window))) {
        Fault("DestroyWindowHandle: " + objects.WhyNotLive(Objects::Value(window)));
    }
}

namespace {

// The window's running timer; the saver keeps one.
const Timer* RunningTimer(HWND window) {
    const Window* found = FindWindow(window);
    return found && !found->timers.empty() ? &found->timers.front() : nullptr;
}

}  // namespace

UINT TimerPeriod(HWND window) {
    const Timer* timer = RunningTimer(window);
    return timer ? timer->periodMs : 0;
}

UINT_PTR TimerId(HWND window) {
    const Timer* timer = RunningTimer(window);
    return timer ? timer->id : 0;
}

}  // namespace standin

HDC WINAPI GetDC(HWND window) {
    if (ShouldFail(Failure::GetDC)) return nullptr;
    if (window && !FindWindow(window)) return nullptr;
    Objects& objects = TheState().objects;
    const HDC dc = objects.NewHandle<HDC>(Kind::DeviceContext);
    DeviceContext context;
    context.type = window ? DeviceContext::Type::Window : DeviceContext::Type::Screen;
    context.window = window;
    objects.deviceContexts.Insert(Objects::Value(dc), context);
    return dc;
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    if (!dc) return 0;  // as DeleteObject: a failed GetDC may be passed on
    Objects& objects = TheState().objects;
    const DeviceContext* context = FindDeviceContext(dc);
    if (!context) {
        Fault("ReleaseDC: " + objects.WhyNotLive(Objects::Value(dc)));
        return 0;
    }
    if (context->type == DeviceContext::Type::Memory) {
        Fault("ReleaseDC of a memory device context: DeleteDC releases it");
        return 0;
    }
    objects.deviceContexts.Erase(Objects::Value(dc));
    return 1;
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC) {
    Window* found = FindWindow(window);
    // A window's timer is known by its id, and 0 is what failure returns.
    if (!found || id == 0) return 0;
    // Setting a timer again under the same id restarts it with the new period.
    auto& timers = found->timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [id](const Timer& timer) { return timer.id == id; }),
                 timers.end());
    timers.push_back({id, periodMs});
    return id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    Window* found = FindWindow(window);
    if (!found) return FALSE;
    auto& timers = found->timers;
    const auto it = std::find_if(timers.begin(), timers.end(),
                                 [id](const Timer& timer) { return timer.id == id; });
    if (it == timers.end()) return FALSE;
    timers.erase(it);
    return TRUE;
}

LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Window* found = FindWindow(window);
    if (!found || !found->defaultProcedure) return 0;
    return found->defaultProcedure(window, message, wParam, lParam);
}
