// The saver's side of the screen-saver library: its window procedure and the two
// callbacks it must offer. One timer tick is one scene step and one whole frame.
#include "platform/screen_saver_library.h"
#include "scene/color_lines.h"
#include "scene/screen_extent.h"

namespace {

// The frame is drawn off screen and copied in one piece, so the window never shows a
// half-drawn picture. Nothing is kept between frames; whatever could not be made loses
// this frame only, and whatever was made is released.
void DrawFrame(HWND window, ColorLines& lines) {
    HDC windowDc = GetDC(window);
    lines.Update();
    if (!windowDc) return;

    HBITMAP frame = CreateCompatibleBitmap(windowDc, WIN_WIDTH, WIN_HEIGHT);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    if (frame && memoryDc) {
        SelectObject(memoryDc, frame);
        BitBlt(memoryDc, 0, 0, WIN_WIDTH, WIN_HEIGHT, nullptr, 0, 0, BLACKNESS);
        lines.Render(memoryDc);
        BitBlt(windowDc, 0, 0, WIN_WIDTH, WIN_HEIGHT, memoryDc, 0, 0, SRCCOPY);
    }
    // A device context from CreateCompatibleDC is released with DeleteDC; the frame is
    // still selected into it, which DeleteDC allows and DeleteObject of the frame then
    // finishes.
    if (memoryDc) DeleteDC(memoryDc);
    if (frame) DeleteObject(frame);
    ReleaseDC(window, windowDc);
}

}  // namespace

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
