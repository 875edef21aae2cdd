#include "saver/frame.h"

#include "scene/screen_extent.h"

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
    // finishes. Either call does nothing for an object that could not be made.
    DeleteDC(memoryDc);
    DeleteObject(frame);
    ReleaseDC(window, windowDc);
}
