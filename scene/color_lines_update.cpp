// One animation step of the scene.
#include <cstdlib>

#include "scene/color_lines.h"
#include "scene/random_coordinate.h"
#include "scene/screen_extent.h"

namespace {

// The centres always spiral about each other, whatever the heads do.
constexpr float kCentreDivisor = 0.13f;
constexpr float kSpiralDivisor = 0.13f;
constexpr float kStraightDivisor = 1.0f;

// Puts a line whose head arrived, head and tail together, on a random point; x is drawn first.
void Reseed(Particle& head, Particle& tail) {
    head.x = tail.x = RandomCoordinate(WIN_WIDTH);
    head.y = tail.y = RandomCoordinate(WIN_HEIGHT);
}

}  // namespace

void ColorLines::Update() {
    if (shownLines < lineCount) ++shownLines;

    // Unsigned arithmetic keeps the elapsed time right across the tick count's wrap. The
    // threshold is drawn on every step, so the chance of a re-targeting grows from one in
    // four after 4 s to certainty after 7 s.
    const DWORD elapsed = GetTickCount() - lastChange;
    const DWORD threshold = 4000 + 1000 * static_cast<DWORD>(std::rand() % 4);
    if (elapsed > threshold) Retarget();

    const Particle::Turn centreTurn(kCentreDivisor);
    centerA.RotateTo(centerB.x, centerB.y, centreTurn);
    centerB.RotateTo(centerA.x, centerA.y, centreTurn);

    MoveLines(Particle::Turn(turnDivisor));
}

void ColorLines::Retarget() {
    lastChange = GetTickCount();

    // Centre B mirrors centre A through the middle of the screen.
    centerA.x = RandomCoordinate(WIN_WIDTH);
    centerA.y = RandomCoordinate(WIN_HEIGHT);
    centerB.x = static_cast<float>(WIN_WIDTH) - centerA.x;
    centerB.y = static_cast<float>(WIN_HEIGHT) - centerA.y;

    turnDivisor = std::rand() % 50 > 9 ? kSpiralDivisor : kStraightDivisor;

    // Channels are drawn modulo 255, so neither swarm ever quite reaches yellow.
    ReleasePens();
    const int green = std::rand() % 255;
    penA = CreatePen(PS_SOLID, 1, RGB(255, green, 0));
    const int red = std::rand() % 255;
    penB = CreatePen(PS_SOLID, 1, RGB(red, 255, 0));

    // 7 down to -2, never 0: a negative speed makes every point flee its target.
    int speed = 0;
    while (speed == 0) speed = 7 - std::rand() % 10;

    const float common = static_cast<float>(speed);
    for (int i = 0; i < lineCount; ++i) {
        headsA[i].speed = common;
        tailsA[i].speed = common;
        headsB[i].speed = common;
        tailsB[i].speed = common;
    }
}

void ColorLines::MoveLines(const Particle::Turn& headTurn) {
    // Each operation sees what the ones before it left: a re-seeded tail stands on its
    // head and so does not chase it in the same step.
    const float distance = static_cast<float>(chaseDistance);
    for (int i = 0; i < lineCount; ++i) {
        if (headsA[i].RotateTo(centerA.x, centerA.y, headTurn)) Reseed(headsA[i], tailsA[i]);
        if (headsB[i].RotateTo(centerB.x, centerB.y, headTurn)) Reseed(headsB[i], tailsB[i]);
        tailsA[i].ChasePoint(headsA[i].x, headsA[i].y, distance);
        tailsB[i].ChasePoint(headsB[i].x, headsB[i].y, distance);
    }
}
