#include "hosts/linux/headless_runner.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hosts/linux/left_objects.h"
#include "hosts/linux/png_writer.h"
#include "platform/standin/control.h"
#include "platform/standin/screen_saver_library.h"

namespace linux_host {
namespace {

bool Write(const std::string& path, const standin::Surface& frame) {
    std::string error;
    if (WritePng(path, frame, error)) return true;
    std::fprintf(stderr, "colorlines: cannot write %s: %s\n", path.c_str(), error.c_str());
    return false;
}

std::string FramePath(const std::string& folder, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%05d.png", frame);
    return folder + name;
}

}  // namespace

int RunHeadless(const Options& options) {
    if (!options.framesDir.empty() && mkdir(options.framesDir.c_str(), 0777) != 0 &&
        errno != EEXIST) {
        std::fprintf(stderr, "colorlines: cannot make %s: %s\n", options.framesDir.c_str(),
                     std::strerror(errno));
        return 1;
    }

    // A fresh window on the platform is whatever the screen showed; black is what a
    // person would see before the first frame.
    std::vector<std::uint32_t> pixels(std::size_t(options.width) * std::size_t(options.height), 0);
    const standin::Surface surface{pixels.data(), options.width, options.height, options.width};

    // From here on the clock moves only when a frame says so. Init seeds the random source
    // with the tick count, so a given seed is a given animation; without one the clock
    // starts from the real tick count, as it would on screen.
    standin::SetTickCount(options.seed ? *options.seed : GetTickCount());

    // No default procedure: nothing here can close the window, paint it or give input.
    const HWND window = standin::CreateWindowHandle(surface, nullptr);
    ScreenSaverProc(window, WM_CREATE, 0, 0);
    const UINT period = standin::TimerPeriod(window);
    int status = 0;
    if (period == 0) {
        std::fprintf(stderr, "colorlines: the saver set no timer, so no frame would come\n");
        status = 1;
    }
    for (int frame = 1; status == 0 && frame <= options.frames; ++frame) {
        standin::AdvanceTickCount(period);
        ScreenSaverProc(window, WM_TIMER, standin::TimerId(window), 0);
        if (!options.framesDir.empty() && !Write(FramePath(options.framesDir, frame), surface)) {
            status = 1;
        }
    }
    if (status == 0 && !options.snapshot.empty() && !Write(options.snapshot, surface)) status = 1;
    ScreenSaverProc(window, WM_DESTROY, 0, 0);
    standin::DestroyWindowHandle(window);
    ReportLeftObjects();
    return status;
}

}  // namespace linux_host
