#pragma once
// The window's pixels on the client side: the surface the saver's window device context
// draws into, and the copy of it to the X window. Through a MIT-SHM segment where the
// server offers one (the server reads the pixels in place), through the socket otherwise.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <string>

#include "platform/standin/control.h"

namespace linux_host {

class FrameImage {
public:
    enum class Transport { SharedMemory, Socket };

    // A black image of `width` x `height` for windows of `visual` and `depth`. The pixels
    // must be 32-bit 0x00RRGGBB in the machine's byte order, as the saver draws them; see
    // error() when they cannot be.
    FrameImage(Display* display, Visual* visual, int depth, int width, int height,
               bool allowSharedMemory);
    ~FrameImage();
    FrameImage(const FrameImage&) = delete;
    FrameImage& operator=(const FrameImage&) = delete;

    bool ok() const { return image_ != nullptr; }
    // Why the image could not be made.
    const std::string& error() const { return error_; }
    Transport transport() const { return segment_.shmaddr ? Transport::SharedMemory : Transport::Socket; }
    standin::Surface surface() const;

    // Copies the whole image to (0, 0) of `drawable` and waits until the server has it,
    // so that the next frame can be drawn into the same pixels.
    void Put(Drawable drawable, GC gc);

private:
    bool MakeShared(Visual* visual, int depth, int width, int height);
    bool MakeUnshared(Visual* visual, int depth, int width, int height);
    bool CheckLayout();
    void Release();

    Display* display_;
    XImage* image_ = nullptr;
    XShmSegmentInfo segment_{};
    std::string error_;
};

// True when windows of this visual take the saver's pixels as they are.
bool VisualTakesSaverPixels(Display* display, const Visual* visual, int depth);

}  // namespace linux_host
