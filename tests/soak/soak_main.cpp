// colorlines_soak [FRAMES]: runs whole frames (step, make, clear, draw, copy, release) on a
// small screen and a fast clock, 10 ms per frame, 360,000 frames (one simulated hour) unless
// told otherwise. After every re-targeting it checks that nothing but the scene's two pens
// is alive, that every line end has the common speed, that each swarm still has all its
// lines and that all of them are shown. Misuse of the platform aborts at once. Prints its
// figures and exits non-zero on any broken check.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/standin/control.h"
#include "saver/frame.h"
#include "scene/screen_extent.h"

namespace {

int failures = 0;

void Check(bool holds, long frame, const char* what) {
    if (holds) return;
    if (++failures <= 10) std::fprintf(stderr, "frame %ld: %s\n", frame, what);
}

bool CommonSpeed(const ColorLines& lines) {
    const float speed = lines.headsA[0].speed;
    for (const auto* swarm : {&lines.headsA, &lines.tailsA, &lines.headsB, &lines.tailsB}) {
        for (const Particle& end : *swarm) {
            if (end.speed != speed) return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : 360000;
    WIN_WIDTH = 96;
    WIN_HEIGHT = 64;
    standin::SetTickCount(123456);
    const standin::LiveObjects before = standin::CountLiveObjects();

    std::vector<std::uint32_t> pixels(std::size_t(WIN_WIDTH) * WIN_HEIGHT);
    const HWND window = standin::CreateWindowHandle({pixels.data(), WIN_WIDTH, WIN_HEIGHT, WIN_WIDTH}, nullptr);
    ColorLines lines;
    lines.Init();

    long retargetings = 0;
    DWORD lastChange = lines.lastChange;
    for (long frame = 1; frame <= frames; ++frame) {
        standin::AdvanceTickCount(10);
        DrawFrame(window, lines);
        if (lines.lastChange == lastChange) continue;
        lastChange = lines.lastChange;
        ++retargetings;

        const standin::LiveObjects live = standin::CountLiveObjects();
        Check(live.pens - before.pens == 2, frame, "live pens are not exactly the scene's two");
        Check(live.bitmaps == before.bitmaps, frame, "a bitmap outlived its frame");
        Check(live.deviceContexts == before.deviceContexts, frame, "a device context outlived its frame");
        Check(CommonSpeed(lines), frame, "line ends differ in speed");
        for (const auto* swarm : {&lines.headsA, &lines.tailsA, &lines.headsB, &lines.tailsB}) {
            Check(swarm->size() == 1500, frame, "a swarm lost or gained lines");
        }
        Check(frame < 1500 || lines.shownLines == 1500, frame, "not every line is shown");
    }
    const standin::LiveObjects running = standin::CountLiveObjects();
    std::printf("colorlines_soak: alive after the last frame: %d pens, %d bitmaps, %d device contexts\n",
                running.pens - before.pens, running.bitmaps - before.bitmaps,
                running.deviceContexts - before.deviceContexts);
    lines.Clean();
    standin::DestroyWindowHandle(window);
    const standin::LiveObjects after = standin::CountLiveObjects();
    Check(after.pens == before.pens && after.bitmaps == before.bitmaps &&
              after.deviceContexts == before.deviceContexts,
          frames, "objects left alive after the scene was cleaned");

    std::printf("colorlines_soak: %ld frames (%.1f simulated minutes), %ld re-targetings, "
                "%d broken checks\n",
                frames, frames / 6000.0, retargetings, failures);
    const long minimum = frames / 700 - 1;  // at least one re-targeting per 7 s
    if (retargetings < minimum) {
        std::fprintf(stderr, "only %ld re-targetings, expected at least %ld\n", retargetings, minimum);
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
