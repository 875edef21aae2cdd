#include "hosts/linux/x11_host.h"

#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "hosts/linux/frame_image.h"
#include "hosts/linux/input_policy.h"
#include "hosts/linux/left_objects.h"
#include "hosts/linux/stop_signals.h"
#include "hosts/linux/tick_schedule.h"
#include "hosts/linux/x11_errors.h"
#include "platform/standin/control.h"
#include "platform/standin/screen_saver_library.h"
#include "scene/screen_extent.h"

namespace linux_host {
namespace {

using Clock = TickSchedule::Clock;

// Exit statuses, as --help states them.
constexpr int kEnded = 0;
constexpr int kDisplayUnusable = 1;
constexpr int kBadCommandLine = 2;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class X11Host {
public:
    X11Host(Display* display, const Options& options) : display_(display), options_(options) {
        policy_.mode = options.mode;
    }
    ~X11Host();
    X11Host(const X11Host&) = delete;
    X11Host& operator=(const X11Host&) = delete;

    int Run();

private:
    // Set-up: 0 when the window and its image are ready, else an exit status.
    int SetUp();
    Window MakeOwnWindow();
    int AdoptWindow(Window window, const std::string& whose);
    void HidePointerAndTakeInput();
    bool MakeImage(int width, int height);

    void Loop();
    void Dispatch(const XEvent& event);
    LRESULT Deliver(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void Present();
    void Destroy();
    void WindowWentAway();
    void Resize(int width, int height);
    void PrintStats() const;

    // The default procedure the stand-in calls for DefScreenSaverProc. A WNDPROC carries
    // no context, and a process runs one saver, so it finds its host here.
    static LRESULT CALLBACK DefaultProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    static X11Host* current_;

    Display* display_;
    const Options& options_;
    Window target_ = None;
    bool ownWindow_ = false;
    Visual* visual_ = nullptr;
    int depth_ = 0;
    int width_ = 0;
    int height_ = 0;
    GC gc_ = nullptr;
    Cursor hiddenPointer_ = None;
    Atom deleteWindow_ = None;
    std::unique_ptr<FrameImage> image_;
    std::unique_ptr<XErrorWatch> errors_;
    bool errorReported_ = false;

    HWND window_ = nullptr;
    InputPolicy policy_;
    TickSchedule schedule_;
    bool closePosted_ = false;
    bool ended_ = false;
    bool gone_ = false;
    int status_ = kEnded;

    long frames_ = 0;
    Clock::time_point started_{};
    double cpuAtStart_ = 0;
};

X11Host* X11Host::current_ = nullptr;

X11Host::~X11Host() {
    if (window_) standin::DestroyWindowHandle(window_);
    image_.reset();
    if (gc_) XFreeGC(display_, gc_);
    if (ownWindow_ && target_ != None && !gone_) XDestroyWindow(display_, target_);
    if (hiddenPointer_ != None) XFreeCursor(display_, hiddenPointer_);
    current_ = nullptr;
    XCloseDisplay(display_);
}

int X11Host::SetUp() {
    if (options_.mode == Mode::Window || options_.mode == Mode::FullScreen) {
        target_ = MakeOwnWindow();
        ownWindow_ = true;
        return AdoptWindow(target_, "its own window");
    }
    if (options_.mode == Mode::Preview) {
        char whose[64];
        std::snprintf(whose, sizeof whose, "--window-id 0x%lx", (unsigned long)options_.windowId);
        return AdoptWindow(options_.windowId, whose);
    }
    // XScreenSaver makes a window for the saver and names it here; run by hand, the saver
    // draws on the desktop itself.
    const char* named = std::getenv("XSCREENSAVER_WINDOW");
    if (named && *named) {
        const auto id = ParseWindowId(named);
        if (!id) {
            std::fprintf(stderr, "colorlines: XSCREENSAVER_WINDOW='%s' is not a window id\n", named);
            return kBadCommandLine;
        }
        return AdoptWindow(*id, std::string("XSCREENSAVER_WINDOW=") + named);
    }
    return AdoptWindow(DefaultRootWindow(display_), "the root window");
}

Window X11Host::MakeOwnWindow() {
    const bool fullScreen = options_.mode == Mode::FullScreen;
    XSetWindowAttributes attributes{};
    // No background: the saver erases nothing (WM_ERASEBKGND), and the image, black until
    // the first frame, covers the whole window on every exposure.
    attributes.background_pixmap = None;
    attributes.event_mask = ExposureMask | KeyPressMask | StructureNotifyMask;
    unsigned long mask = CWBackPixmap | CWEventMask;
    if (fullScreen) {
        // Above everything, and left alone by the window manager.
        attributes.override_redirect = True;
        attributes.event_mask |= ButtonPressMask | PointerMotionMask;
        mask |= CWOverrideRedirect;
    }
    const Window window =
        XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, unsigned(WIN_WIDTH),
                      unsigned(WIN_HEIGHT), 0, CopyFromParent, InputOutput, CopyFromParent, mask,
                      &attributes);
    XStoreName(display_, window, "colorlines");
    XClassHint hint{const_cast<char*>("colorlines"), const_cast<char*>("Colorlines")};
    XSetClassHint(display_, window, &hint);
    if (!fullScreen) {
        deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display_, window, &deleteWindow_, 1);
    }
    return window;
}

int X11Host::AdoptWindow(Window window, const std::string& whose) {
    // Selecting first and asking second leaves no gap in which the window could go
    // unnoticed: either the attributes fail or its DestroyNotify will come.
    const XErrorWatch watch;
    if (!ownWindow_) XSelectInput(display_, window, ExposureMask | StructureNotifyMask);
    XWindowAttributes attributes{};
    const Status found = XGetWindowAttributes(display_, window, &attributes);
    XSync(display_, False);
    if (!found || watch.windowGone(window)) {
        std::fprintf(stderr, "colorlines: %s names no window on this display\n", whose.c_str());
        return kBadCommandLine;
    }
    visual_ = attributes.visual;
    depth_ = attributes.depth;
    if (!VisualTakesSaverPixels(display_, visual_, depth_)) {
        std::fprintf(stderr,
                     "colorlines: %s is not a 24-bit TrueColor window (depth %d); the saver "
                     "draws 32-bit 0x00RRGGBB pixels\n",
                     whose.c_str(), depth_);
        return kDisplayUnusable;
    }
    target_ = window;
    gc_ = XCreateGC(display_, target_, 0, nullptr);
    return MakeImage(attributes.width, attributes.height) ? 0 : kDisplayUnusable;
}

bool X11Host::MakeImage(int width, int height) {
    image_.reset();
    image_ = std::make_unique<FrameImage>(display_, visual_, depth_, width, height, true);
    if (!image_->ok()) {
        std::fprintf(stderr, "colorlines: %s\n", image_->error().c_str());
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

void X11Host::HidePointerAndTakeInput() {
    static const char blank[1] = {0};
    const Pixmap empty = XCreateBitmapFromData(display_, target_, blank, 1, 1);
    XColor black{};
    hiddenPointer_ = XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0);
    XFreePixmap(display_, empty);
    XDefineCursor(display_, target_, hiddenPointer_);

    XMapRaised(display_, target_);
    XSync(display_, False);
    // Keys and the pointer come here even where a window manager would give the focus
    // elsewhere. A grab held by another client makes these fail; the window still gets
    // what reaches it.
    XGrabKeyboard(display_, target_, True, GrabModeAsync, GrabModeAsync, CurrentTime);
    XGrabPointer(display_, target_, True, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, hiddenPointer_, CurrentTime);
    Window root, child;
    int rootX, rootY, x, y;
    unsigned int buttons;
    if (XQueryPointer(display_, target_, &root, &child, &rootX, &rootY, &x, &y, &buttons)) {
        policy_.pointerAtStart = {x, y};
    }
}

int X11Host::Run() {
    // Taken over first, so that XScreenSaver's SIGTERM during set-up still ends the saver
    // with status 0 rather than by the signal.
    StopSignals stop;
    // A write to a dead connection must reach the I/O error handler, not kill the
    // process with SIGPIPE.
    signal(SIGPIPE, SIG_IGN);
    if (const int status = SetUp()) return status;

    if (options_.mode == Mode::FullScreen) {
        HidePointerAndTakeInput();
    } else if (ownWindow_) {
        XMapWindow(display_, target_);
    }
    errors_ = std::make_unique<XErrorWatch>();

    current_ = this;
    window_ = standin::CreateWindowHandle(image_->surface(), &X11Host::DefaultProcedure);
    started_ = Clock::now();
    cpuAtStart_ = CpuSeconds();
    Deliver(WM_CREATE);
    schedule_.Start(Clock::now(), std::chrono::milliseconds(standin::TimerPeriod(window_)));

    const int connection = ConnectionNumber(display_);
    while (!ended_) {
        if (stop.Take()) closePosted_ = true;
        while (!ended_ && XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            Dispatch(event);
        }
        if (!ended_ && closePosted_) {
            closePosted_ = false;
            Deliver(WM_CLOSE);
        }
        if (ended_) break;

        // The saver may set, change or kill its timer in any message.
        const auto period = std::chrono::milliseconds(standin::TimerPeriod(window_));
        if (period != schedule_.period()) schedule_.Start(Clock::now(), period);
        if (schedule_.TakeDue(Clock::now())) {
            Deliver(WM_TIMER, standin::TimerId(window_));
            ++frames_;
            Present();
            continue;
        }

        pollfd watched[2] = {{connection, POLLIN, 0}, {stop.fd(), POLLIN, 0}};
        timespec wait{};
        const timespec* timeout = nullptr;
        if (schedule_.running()) {
            const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
                schedule_.Remaining(Clock::now()));
            wait.tv_sec = time_t(left.count() / 1'000'000'000);
            wait.tv_nsec = long(left.count() % 1'000'000'000);
            timeout = &wait;
        }
        // A hang-up on the connection is "readable" too: XPending then reads the end of
        // the stream and the I/O error handler ends the process.
        ppoll(watched, stop.fd() >= 0 ? 2 : 1, timeout, nullptr);
    }
    standin::DestroyWindowHandle(window_);
    window_ = nullptr;
    ReportLeftObjects();
    if (options_.stats) PrintStats();
    return status_;
}

void X11Host::Dispatch(const XEvent& event) {
    if (event.xany.window != target_) return;
    switch (event.type) {
    case Expose:
        if (event.xexpose.count == 0) {
            const HDC dc = GetDC(window_);
            Deliver(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
            ReleaseDC(window_, dc);
            Deliver(WM_PAINT);
        }
        break;
    case KeyPress:
        // The saver ends on any key, so no key code is translated.
        Deliver(WM_KEYDOWN);
        break;
    case ButtonPress: {
        const UINT message = event.xbutton.button == Button2   ? WM_MBUTTONDOWN
                             : event.xbutton.button == Button3 ? WM_RBUTTONDOWN
                                                               : WM_LBUTTONDOWN;
        Deliver(message, 0, PointerLParam(event.xbutton.x, event.xbutton.y));
        break;
    }
    case MotionNotify:
        Deliver(WM_MOUSEMOVE, 0, PointerLParam(event.xmotion.x, event.xmotion.y));
        break;
    case ClientMessage:
        if (deleteWindow_ != None && Atom(event.xclient.data.l[0]) == deleteWindow_) {
            Deliver(WM_CLOSE);
        }
        break;
    case ConfigureNotify:
        if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
            Resize(event.xconfigure.width, event.xconfigure.height);
        }
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == target_) WindowWentAway();
        break;
    default:
        break;
    }
}

LRESULT X11Host::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    return ScreenSaverProc(window_, message, wParam, lParam);
}

void X11Host::Present() {
    if (gone_) return;
    image_->Put(target_, gc_);
    if (errors_->windowGone(target_)) {
        WindowWentAway();
    } else if (errors_->any() && !errorReported_) {
        // Not fatal: the next frame may well get through. Said once, not every 10 ms.
        errorReported_ = true;
        std::fprintf(stderr, "colorlines: the X server reported: %s\n", LastXErrorText(display_));
    }
}

void X11Host::Destroy() {
    if (ended_) return;
    Deliver(WM_DESTROY);
    ended_ = true;
}

void X11Host::WindowWentAway() {
    // As on the platform, a window destroyed from outside gets WM_DESTROY without a
    // WM_CLOSE first. For a preview that is the normal way to end.
    gone_ = true;
    Destroy();
}

void X11Host::Resize(int width, int height) {
    if (!MakeImage(width, height)) {
        status_ = kDisplayUnusable;
        Destroy();
        return;
    }
    standin::SetWindowSurface(window_, image_->surface());
}

void X11Host::PrintStats() const {
    const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    const double cpu = CpuSeconds() - cpuAtStart_;
    std::printf("colorlines: %ld frames in %.2f s: %.1f frames per second, %.1f%% of one core, "
                "%dx%d window, %s\n",
                frames_, seconds, seconds > 0 ? double(frames_) / seconds : 0.0,
                seconds > 0 ? 100.0 * cpu / seconds : 0.0, width_, height_,
                image_ && image_->transport() == FrameImage::Transport::SharedMemory
                    ? "MIT-SHM"
                    : "XPutImage");
    std::fflush(stdout);
}

LRESULT CALLBACK X11Host::DefaultProcedure(HWND, UINT message, WPARAM, LPARAM lParam) {
    X11Host* host = current_;
    if (!host) return 0;
    switch (message) {
    case WM_CLOSE:
        // The platform's DestroyWindow: WM_DESTROY goes to the saver before this returns.
        host->Destroy();
        return 0;
    case WM_PAINT:
        host->Present();
        return 0;
    default:
        // Posted, as the platform does, so that the saver finishes this message first.
        if (InputEndsSaver(host->policy_, message, lParam)) host->closePosted_ = true;
        return 0;
    }
}

}  // namespace

int RunX11(Display* display, const Options& options) {
    InstallXErrorHandlers();
    X11Host host(display, options);
    return host.Run();
}

}  // namespace linux_host
