// The copy of one frame to an X window: through a MIT-SHM segment, which the server reads
// in place, against XPutImage, which sends every pixel down the socket. Each iteration is
// one copy of the whole image and the wait for the server to finish it, as the host does
// after every frame. Needs $DISPLAY; hosts/linux/measure-x11 runs it under its own Xvfb.
//   x11_copy_bench [--benchmark_...]   (size from COLORLINES_BENCH_SIZE=WxH, default 1920x1080)
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "hosts/linux/frame_image.h"
#include "hosts/linux/x11_errors.h"

namespace {

struct Target {
    Display* display = nullptr;
    Window window = None;
    GC gc = nullptr;
    int width = 1920;
    int height = 1080;
};

Target& TheTarget() {
    static Target target;
    return target;
}

void BM_CopyFrame(benchmark::State& state, bool sharedMemory) {
    Target& target = TheTarget();
    const int screen = DefaultScreen(target.display);
    linux_host::FrameImage image(target.display, DefaultVisual(target.display, screen),
                                 DefaultDepth(target.display, screen), target.width,
                                 target.height, sharedMemory);
    const auto wanted = sharedMemory ? linux_host::FrameImage::Transport::SharedMemory
                                     : linux_host::FrameImage::Transport::Socket;
    if (!image.ok() || image.transport() != wanted) {
        state.SkipWithError(sharedMemory ? "the server offers no MIT-SHM" : image.error().c_str());
        return;
    }
    // Something other than black in every frame, so that no layer can skip the work.
    const standin::Surface pixels = image.surface();
    std::uint32_t shade = 0;
    for (auto _ : state) {
        pixels.pixels[0] = ++shade;
        image.Put(target.window, target.gc);
    }
    const double bytes = double(target.width) * target.height * 4;
    state.SetBytesProcessed(std::int64_t(double(state.iterations()) * bytes));
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(BM_CopyFrame, mit_shm, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CopyFrame, xputimage, false)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Target& target = TheTarget();
    target.display = XOpenDisplay(nullptr);
    if (!target.display) {
        std::fprintf(stderr, "x11_copy_bench: cannot open display '%s'\n", XDisplayName(nullptr));
        return 1;
    }
    if (const char* size = std::getenv("COLORLINES_BENCH_SIZE")) {
        std::sscanf(size, "%dx%d", &target.width, &target.height);
    }
    linux_host::InstallXErrorHandlers();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    target.window = XCreateWindow(target.display, DefaultRootWindow(target.display), 0, 0,
                                  unsigned(target.width), unsigned(target.height), 0,
                                  CopyFromParent, InputOutput, CopyFromParent,
                                  CWOverrideRedirect, &attributes);
    XMapRaised(target.display, target.window);
    target.gc = XCreateGC(target.display, target.window, 0, nullptr);
    XSync(target.display, False);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    XFreeGC(target.display, target.gc);
    XDestroyWindow(target.display, target.window);
    XCloseDisplay(target.display);
    return 0;
}
