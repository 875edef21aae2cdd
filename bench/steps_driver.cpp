// Runs a fixed number of scene steps, for counting instructions under callgrind:
//   colorlines_steps STEPS DIVISOR
#include <cstdio>
#include <cstdlib>

#include "bench/scene_setup.h"

// Callgrind counts only inside this function (--toggle-collect), not the set-up.
__attribute__((noinline)) void MeasuredSteps(ColorLines& scene, int steps) {
    for (int step = 0; step < steps; ++step) scene.Update();
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: colorlines_steps STEPS DIVISOR\n");
        return 2;
    }
    const int steps = std::atoi(argv[1]);
    ColorLines scene;
    SetUpBenchScene(scene, std::strtof(argv[2], nullptr));
    MeasuredSteps(scene, steps);
    // Print something that depends on every step, so none of them can be optimised away.
    std::printf("%d steps, head 0 at (%g, %g)\n", steps, scene.headsA[0].x, scene.headsA[0].y);
    scene.Clean();
    return 0;
}
