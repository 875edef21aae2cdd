#pragma once
// What the stand-in offers beyond the Win32 calls: the knobs that hosts and tests turn
// (the clock, the screen, the windows and their pixels) and the checks that tests read
// (live objects, misuse). Nothing in the system itself includes this.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/standin/win32.h"

namespace standin {

// ---- Clock ---------------------------------------------------------------------------
// GetTickCount follows a steady system clock until a host or test sets it; from then on
// it moves only when told, which gives repeatable runs.
void SetTickCount(DWORD milliseconds);
void AdvanceTickCount(DWORD milliseconds);

// ---- Screen --------------------------------------------------------------------------
// The extent GetSystemMetrics reports. The screen-extent globals read it during static
// initialisation, so a host must set it before that (see the hosts for how).
struct Size {
    int width;
    int height;
};
void SetScreenSize(Size size);

// ---- Pixels and windows ----------------------------------------------------------------
// A block of 32-bit pixels, 0x00RRGGBB, rows `stride` pixels apart. Owned by whoever made it.
struct Surface {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// A window is whatever the host says it is: a surface that the window's device context
// draws into (or none, when nothing should be drawn) and the procedure that
// DefScreenSaverProc hands its messages to (or none: every message then yields 0).
HWND CreateWindowHandle(Surface surface, WNDPROC defaultProcedure);
void SetWindowSurface(HWND window, Surface surface);
void DestroyWindowHandle(HWND window);
// Period of the window's running timer in milliseconds, or 0 when it has none; and the
// id the timer was set with, which a host hands over with each WM_TIMER.
UINT TimerPeriod(HWND window);
UINT_PTR TimerId(HWND window);

// ---- Objects -------------------------------------------------------------------------
struct LiveObjects {
    int pens = 0;
    int bitmaps = 0;
    int deviceContexts = 0;
    int windows = 0;
};
LiveObjects CountLiveObjects();

struct PenInfo {
    int style = 0;
    int width = 0;
    COLORREF color = 0;
};
// False when `pen` is not a live pen.
bool DescribePen(HPEN pen, PenInfo& info);
// The pen selected into a live device context (null when it has its stock pen).
HPEN SelectedPen(HDC dc);

// ---- Drawing journal -----------------------------------------------------------------
// While recording, the drawing calls are written down in order, so a test can check
// exactly which calls were made, with which pens and coordinates.
struct DrawingCall {
    enum class Kind { SelectObject, MoveToEx, LineTo };
    Kind kind;
    HDC dc;
    HGDIOBJ object;  // SelectObject only
    int x;           // MoveToEx and LineTo only
    int y;
    bool operator==(const DrawingCall& other) const {
        return kind == other.kind && dc == other.dc && object == other.object && x == other.x &&
               y == other.y;
    }
};
void StartRecordingDrawingCalls();
std::vector<DrawingCall> StopRecordingDrawingCalls();

// ---- Misuse and failures ---------------------------------------------------------------
// Releasing an object twice, deleting a pen still selected into a live device context or
// passing a handle that was never handed out is a fault in the caller. The default
// handler prints the fault and aborts; tests install one that fails the running test.
using FaultHandler = void (*)(const std::string& message);
FaultHandler SetFaultHandler(FaultHandler handler);

// Makes the next call of the named kind fail as the platform would (null handle), so
// that tests can walk the failure paths.
enum class Failure { GetDC, CreateCompatibleBitmap, CreateCompatibleDC, CreatePen };
void FailNext(Failure what);

}  // namespace standin
