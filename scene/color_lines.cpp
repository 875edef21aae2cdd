// Setting the scene up and tearing it down.
#include "scene/color_lines.h"

#include <cstdlib>

#include "scene/random_coordinate.h"
#include "scene/screen_extent.h"

void ColorLines::Init() {
    std::srand(GetTickCount());
    lastChange = GetTickCount();

    lineCount = 1500;
    chaseDistance = 20;
    shownLines = 0;
    turnDivisor = 1.0f;

    // Pure green, shared by both swarms until the first re-targeting gives each its own.
    penB = penA = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));

    // Whole pixels: integer division drops the remainder (1365 wide puts the centres at 682).
    const Particle middle(static_cast<float>(WIN_WIDTH / 2), static_cast<float>(WIN_HEIGHT / 2), 3.0f);
    centerA = middle;
    centerB = middle;

    for (int i = 0; i < lineCount; ++i) {
        const float y = RandomCoordinate(WIN_HEIGHT);
        const float x = RandomCoordinate(WIN_WIDTH);
        const Particle start(x, y, 1.0f);
        headsA.push_back(start);
        headsB.push_back(start);
        tailsA.push_back(start);
        tailsB.push_back(start);
    }
}

void ColorLines::Clean() {
    ReleasePens();
    headsA.clear();
    headsB.clear();
    tailsA.clear();
    tailsB.clear();
}

void ColorLines::ReleasePens() {
    // From Init to the first re-targeting both fields hold the one green pen: release it
    // once. A field left null by a failed creation releases nothing.
    DeleteObject(penA);
    if (penB != penA) DeleteObject(penB);
    // No field may name a released pen, so a second Clean cannot release one twice.
    penA = penB = nullptr;
}
