#pragma once
// A fully set-up scene on a 1920 x 1080 screen with a clock that never reaches the first
// re-targeting, so a measured step always runs with the divisor it was given.
#include "platform/standin/control.h"
#include "scene/color_lines.h"
#include "scene/screen_extent.h"

inline void SetUpBenchScene(ColorLines& scene, float divisor) {
    WIN_WIDTH = 1920;
    WIN_HEIGHT = 1080;
    standin::SetTickCount(1);
    scene.Init();
    scene.turnDivisor = divisor;
    // Show every line and let the swarms take their shape before measuring.
    for (int step = 0; step < 1500; ++step) scene.Update();
}
