// Drawing the scene.
#include "scene/color_lines.h"
#include "scene/device_coordinate.h"

namespace {

void DrawLine(HDC dc, HPEN pen, const Particle& head, const Particle& tail) {
    SelectObject(dc, pen);
    MoveToEx(dc, ToDeviceCoordinate(head.x), ToDeviceCoordinate(head.y), nullptr);
    LineTo(dc, ToDeviceCoordinate(tail.x), ToDeviceCoordinate(tail.y));
}

}  // namespace

void ColorLines::Render(HDC& dc) {
    // Interleaved by index, each with its own pen selection, so that a line always covers
    // every line of either swarm with a lower index.
    for (int i = 0; i < shownLines; ++i) {
        DrawLine(dc, penA, headsA[i], tailsA[i]);
        DrawLine(dc, penB, headsB[i], tailsB[i]);
    }
}
