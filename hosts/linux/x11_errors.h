#pragma once
// What the X server reported. Xlib's own handlers print and exit on any error; a screen
// saver must instead outlive a window that someone else destroys, and leave at once,
// without spinning, when the server goes.
#include <X11/Xlib.h>

namespace linux_host {

// Protocol errors are counted and the last one kept; a lost connection prints one line
// and ends the process with status 1.
void InstallXErrorHandlers();

// Errors are asynchronous: a request's error arrives with a later reply. A watch counts
// those that reach the handler while it lives (call XSync before asking).
class XErrorWatch {
public:
    XErrorWatch();
    bool any() const;
    // True when one of them said `window` does not exist (BadWindow or BadDrawable).
    bool windowGone(Window window) const;

private:
    unsigned long start_;
};

// The most recent error's text, for a one-line report.
const char* LastXErrorText(Display* display);

}  // namespace linux_host
