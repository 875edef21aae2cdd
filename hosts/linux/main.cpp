// colorlines on Linux: the unchanged saver on an X display, or with no display at all.
#include <X11/Xlib.h>

#include <cstdio>

#include "hosts/linux/headless_runner.h"
#include "hosts/linux/options.h"
#include "hosts/linux/x11_host.h"
#include "platform/standin/control.h"

namespace {

struct Startup {
    linux_host::Options options;
    // Opened once, to read the screen's extent, and kept for the host.
    Display* display = nullptr;
};

// A function-local static: a namespace-scope one would be initialised again, to empty,
// by the ordinary static initialisers that run after DeclareScreen.
Startup& TheStartup() {
    static Startup startup;
    return startup;
}

bool ShowsOnDisplay(linux_host::Mode mode) {
    using linux_host::Mode;
    return mode == Mode::Window || mode == Mode::FullScreen || mode == Mode::Root ||
           mode == Mode::Preview;
}

// The saver reads WIN_WIDTH and WIN_HEIGHT from the screen metrics during static
// initialisation, before main. A constructor with a priority runs ahead of every ordinary
// static initialiser, so the stand-in knows the screen by then; glibc hands such a
// function the program's arguments, which say whether the screen is the display's or the
// headless run's --size. A headless run must not touch the display at all.
__attribute__((constructor(101))) void DeclareScreen(int argc, char** argv, char**) {
    Startup& startup = TheStartup();
    startup.options = linux_host::ParseOptions(argc, argv);
    if (startup.options.mode == linux_host::Mode::Headless) {
        standin::SetScreenSize({startup.options.width, startup.options.height});
    } else if (ShowsOnDisplay(startup.options.mode)) {
        startup.display = XOpenDisplay(nullptr);
        if (startup.display) {
            const int screen = DefaultScreen(startup.display);
            standin::SetScreenSize({DisplayWidth(startup.display, screen),
                                    DisplayHeight(startup.display, screen)});
        }
    }
}

}  // namespace

int main() {
    Startup& startup = TheStartup();
    const linux_host::Options& options = startup.options;
    switch (options.mode) {
    case linux_host::Mode::Help:
        std::fputs(linux_host::Usage(), stdout);
        return 0;
    case linux_host::Mode::Version:
        std::printf("colorlines %s\n", COLORLINES_VERSION);
        return 0;
    case linux_host::Mode::Invalid:
        std::fprintf(stderr, "colorlines: %s\n", options.error.c_str());
        return 2;
    case linux_host::Mode::Headless:
        return linux_host::RunHeadless(options);
    default:
        break;
    }
    if (!startup.display) {
        const char* name = XDisplayName(nullptr);
        std::fprintf(stderr,
                     "colorlines: cannot open display '%s' (for a run without one, try "
                     "--snapshot FILE.png)\n",
                     name && *name ? name : "");
        return 1;
    }
    return linux_host::RunX11(startup.display, options);
}
