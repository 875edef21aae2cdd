// colorlines-trace: runs the scene without a screen on a simulated 10 ms clock and prints
// one line per simulated second, for watching the animation's numbers rather than its
// picture.
//   colorlines-trace [SECONDS] [SEED]
#include <cstdio>
#include <cstdlib>

#include "platform/standin/control.h"
#include "scene/color_lines.h"
#include "scene/screen_extent.h"

namespace {

// WIN_WIDTH and WIN_HEIGHT are read from the screen metrics during static initialisation,
// before main. A constructor with a priority runs ahead of every ordinary static
// initialiser, so the stand-in knows the screen by then.
__attribute__((constructor(101))) void DeclareScreen() { standin::SetScreenSize({1920, 1080}); }

void PrintSecond(int second, const ColorLines& scene) {
    standin::PenInfo a{}, b{};
    standin::DescribePen(scene.penA, a);
    standin::DescribePen(scene.penB, b);
    std::printf("t=%3ds shown=%4d A=(%6.1f,%6.1f) B=(%6.1f,%6.1f) speed=%2g divisor=%g "
                "colours A=#%02x%02x%02x B=#%02x%02x%02x\n",
                second, scene.shownLines, scene.centerA.x, scene.centerA.y, scene.centerB.x,
                scene.centerB.y, scene.headsA[0].speed, scene.turnDivisor, GetRValue(a.color),
                GetGValue(a.color), GetBValue(a.color), GetRValue(b.color), GetGValue(b.color),
                GetBValue(b.color));
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    // The seed becomes the first tick count, which Init hands to srand.
    standin::SetTickCount(argc > 2 ? DWORD(std::strtoul(argv[2], nullptr, 10)) : GetTickCount());
    std::printf("colorlines-trace: %d x %d screen, %d simulated seconds\n", WIN_WIDTH, WIN_HEIGHT,
                seconds);
    ColorLines scene;
    scene.Init();
    for (int second = 1; second <= seconds; ++second) {
        for (int frame = 0; frame < 100; ++frame) {
            standin::AdvanceTickCount(10);
            scene.Update();
        }
        PrintSecond(second, scene);
    }
    scene.Clean();
    return 0;
}
