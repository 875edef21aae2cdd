#include "hosts/linux/x11_errors.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace linux_host {
namespace {

// Xlib's handlers take no context, so what they saw lives here.
struct ErrorLog {
    unsigned long count = 0;
    // The last error about a missing window or drawable, and the count when it came.
    XID goneResource = 0;
    unsigned long goneAt = 0;
    XErrorEvent last{};
};

ErrorLog& Log() {
    static ErrorLog log;
    return log;
}

int OnError(Display*, XErrorEvent* event) {
    ErrorLog& log = Log();
    ++log.count;
    log.last = *event;
    if (event->error_code == BadWindow || event->error_code == BadDrawable) {
        log.goneResource = event->resourceid;
        log.goneAt = log.count;
    }
    return 0;
}

int OnIOError(Display*) {
    // Called from inside Xlib with the connection dead: nothing more can be sent, and
    // returning would have Xlib exit anyway.
    static const char message[] = "colorlines: lost the connection to the X server\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(1);
}

}  // namespace

void InstallXErrorHandlers() {
    XSetErrorHandler(OnError);
    XSetIOErrorHandler(OnIOError);
}

XErrorWatch::XErrorWatch() : start_(Log().count) {}

bool XErrorWatch::any() const { return Log().count != start_; }

bool XErrorWatch::windowGone(Window window) const {
    const ErrorLog& log = Log();
    return log.goneAt > start_ && log.goneResource == window;
}

const char* LastXErrorText(Display* display) {
    static char text[160];
    XGetErrorText(display, Log().last.error_code, text, sizeof text);
    return text;
}

}  // namespace linux_host
