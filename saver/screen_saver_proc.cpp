// The saver's side of the screen-saver library: its window procedure and the two
// callbacks it must offer. One timer tick is one scene step and one whole frame.
#include "platform/screen_saver_library.h"
#include "saver/frame.h"
#include "scene/color_lines.h"

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static ColorLines lines;
    static UINT_PTR timer = 0;
    const int fps = 100;

    switch (message) {
    case WM_CREATE:
        timer = SetTimer(window, 1, 1000 / fps, nullptr);
        lines.Init();
        return 0;
    case WM_TIMER:
        DrawFrame(window, lines);
        return 0;
    case WM_ERASEBKGND:
        // Only whole frames reach the window; erasing would flash black between them.
        return 0;
    case WM_DESTROY:
        KillTimer(window, timer);
        lines.Clean();
        return 0;
    default:
        // Input, closing, painting and the cursor are the library's business.
        return DefScreenSaverProc(window, message, wParam, lParam);
    }
}

BOOL WINAPI ScreenSaverConfigureDialog(HWND, UINT, WPARAM, LPARAM) {
    // The saver has no settings.
    return FALSE;
}

BOOL WINAPI RegisterDialogClasses(HANDLE) {
    return TRUE;
}
