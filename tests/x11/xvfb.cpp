#include "tests/x11/xvfb.h"

#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

namespace test_support {

Xvfb::Xvfb(XvfbSettings settings) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error_ = "no pipe";
        return;
    }
    std::vector<std::string> arguments = {
        "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0",
        std::to_string(settings.width) + "x" + std::to_string(settings.height) + "x24",
        "-nolisten", "tcp", "-noreset"};
    if (!settings.sharedMemory) {
        arguments.push_back("-extension");
        arguments.push_back("MIT-SHM");
    }
    server_ = std::make_unique<ChildProcess>("/usr/bin/Xvfb", arguments, EnvironmentChanges{},
                                             pipeEnds[1]);
    close(pipeEnds[1]);

    // Xvfb writes the display number once it accepts connections.
    std::string number;
    pollfd ready{pipeEnds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (poll(&ready, 1, 100) > 0) {
            char c;
            if (read(pipeEnds[0], &c, 1) != 1) break;
            if (c == '\n') break;
            number += c;
        }
    }
    close(pipeEnds[0]);
    if (number.empty()) {
        error_ = "Xvfb did not start: " + server_->Stderr();
        return;
    }
    name_ = ":" + number;
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) error_ = "cannot connect to Xvfb " + name_;
}

Xvfb::~Xvfb() {
    if (display_) XCloseDisplay(display_);
    if (server_) {
        server_->Signal(SIGTERM);
        server_->WaitFor(std::chrono::seconds(5));
    }
}

void Xvfb::Kill(int signal) {
    if (display_) XCloseDisplay(display_);
    display_ = nullptr;
    server_->Signal(signal);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::vector<Window> MappedTopLevelWindows(Display* display) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    std::vector<Window> mapped;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        return mapped;
    }
    for (unsigned int i = 0; i < count; ++i) {
        if (Facts(display, children[i]).mapped) mapped.push_back(children[i]);
    }
    if (children) XFree(children);
    return mapped;
}

Window NewTopLevelWindow(Display* display, const std::vector<Window>& except) {
    for (const Window window : MappedTopLevelWindows(display)) {
        bool known = false;
        for (const Window old : except) known = known || old == window;
        if (!known) return window;
    }
    return None;
}

namespace {

// Errors about windows that have just gone are expected while looking around.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

WindowFacts Facts(Display* display, Window window) {
    WindowFacts facts;
    const auto previous = XSetErrorHandler(IgnoreErrors);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes)) {
        facts.exists = true;
        facts.x = attributes.x;
        facts.y = attributes.y;
        facts.width = attributes.width;
        facts.height = attributes.height;
        facts.overrideRedirect = attributes.override_redirect;
        facts.mapped = attributes.map_state == IsViewable;
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    return facts;
}

std::vector<std::uint32_t> Pixels(Display* display, Window window) {
    std::vector<std::uint32_t> pixels;
    const WindowFacts facts = Facts(display, window);
    if (!facts.exists) return pixels;
    const auto previous = XSetErrorHandler(IgnoreErrors);
    XImage* image = XGetImage(display, window, 0, 0, unsigned(facts.width),
                              unsigned(facts.height), AllPlanes, ZPixmap);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!image) return pixels;
    pixels.reserve(std::size_t(facts.width) * std::size_t(facts.height));
    for (int y = 0; y < facts.height; ++y) {
        for (int x = 0; x < facts.width; ++x) {
            pixels.push_back(std::uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF);
        }
    }
    XDestroyImage(image);
    return pixels;
}

Window MakeWindow(Display* display, int width, int height) {
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10,
                                              unsigned(width), unsigned(height), 0,
                                              BlackPixel(display, screen), BlackPixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

bool XDoTool(const Xvfb& server, const std::vector<std::string>& arguments) {
    ChildProcess tool("/usr/bin/xdotool", arguments, {{"DISPLAY", server.name()}});
    return ExitCode(tool.WaitFor(std::chrono::seconds(20))) == 0;
}

}  // namespace test_support
