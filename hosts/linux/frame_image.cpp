#include "hosts/linux/frame_image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hosts/linux/x11_errors.h"

namespace linux_host {
namespace {

int NativeByteOrder() {
    const std::uint32_t one = 1;
    std::uint8_t first;
    std::memcpy(&first, &one, 1);
    return first ? LSBFirst : MSBFirst;
}

}  // namespace

bool VisualTakesSaverPixels(Display* display, const Visual* visual, int depth) {
    if (visual->c_class != TrueColor || visual->red_mask != 0xFF0000 ||
        visual->green_mask != 0x00FF00 || visual->blue_mask != 0x0000FF) {
        return false;
    }
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool fits = false;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth) fits = formats[i].bits_per_pixel == 32;
    }
    if (formats) XFree(formats);
    return fits;
}

FrameImage::FrameImage(Display* display, Visual* visual, int depth, int width, int height,
                       bool allowSharedMemory)
    : display_(display) {
    if (allowSharedMemory && MakeShared(visual, depth, width, height)) return;
    MakeUnshared(visual, depth, width, height);
}

FrameImage::~FrameImage() { Release(); }

bool FrameImage::MakeShared(Visual* visual, int depth, int width, int height) {
    // The server reads the segment as it is: no byte swapping on the way.
    if (!XShmQueryExtension(display_) || ImageByteOrder(display_) != NativeByteOrder()) {
        return false;
    }
    image_ = XShmCreateImage(display_, visual, unsigned(depth), ZPixmap, nullptr, &segment_,
                             unsigned(width), unsigned(height));
    if (!image_) return false;
    const std::size_t bytes = std::size_t(image_->bytes_per_line) * std::size_t(height);
    segment_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment_.shmid < 0) {
        Release();
        return false;
    }
    void* address = shmat(segment_.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(segment_.shmid, IPC_RMID, nullptr);
        segment_.shmid = -1;
        Release();
        return false;
    }
    segment_.shmaddr = image_->data = static_cast<char*>(address);
    segment_.readOnly = False;

    // A server on another machine, or one that may not read our memory, refuses the
    // segment with an error rather than a return value.
    const XErrorWatch watch;
    const Bool attached = XShmAttach(display_, &segment_);
    XSync(display_, False);
    // Marked for removal now that both ends hold it, so that it goes with the last of
    // them, however this process ends.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (!attached || watch.any()) {
        shmdt(segment_.shmaddr);
        segment_.shmaddr = image_->data = nullptr;
        segment_.shmid = -1;
        Release();
        return false;
    }
    std::memset(image_->data, 0, bytes);
    if (!CheckLayout()) {
        Release();
        return false;
    }
    return true;
}

bool FrameImage::MakeUnshared(Visual* visual, int depth, int width, int height) {
    char* data = static_cast<char*>(std::calloc(std::size_t(width) * std::size_t(height), 4));
    if (!data) {
        error_ = "out of memory for a " + std::to_string(width) + "x" + std::to_string(height) +
                 " image";
        return false;
    }
    image_ = XCreateImage(display_, visual, unsigned(depth), ZPixmap, 0, data, unsigned(width),
                          unsigned(height), 32, 0);
    if (!image_) {
        std::free(data);
        error_ = "Xlib could not describe a " + std::to_string(width) + "x" +
                 std::to_string(height) + " image";
        return false;
    }
    // Xlib swaps bytes on the way to a server of the other byte order when told which
    // order the pixels are in.
    image_->byte_order = NativeByteOrder();
    if (!CheckLayout()) {
        Release();
        return false;
    }
    return true;
}

bool FrameImage::CheckLayout() {
    if (image_->bits_per_pixel == 32 && image_->bytes_per_line % 4 == 0 &&
        image_->red_mask == 0xFF0000 && image_->green_mask == 0x00FF00 &&
        image_->blue_mask == 0x0000FF) {
        return true;
    }
    error_ = "the window's visual does not take 32-bit 0x00RRGGBB pixels";
    return false;
}

void FrameImage::Release() {
    if (segment_.shmaddr) {
        XShmDetach(display_, &segment_);
        XSync(display_, False);
        shmdt(segment_.shmaddr);
        segment_.shmaddr = nullptr;
        if (image_) image_->data = nullptr;
    }
    if (image_) {
        // XDestroyImage frees the pixels of an unshared image (calloc'd above).
        XDestroyImage(image_);
        image_ = nullptr;
    }
}

standin::Surface FrameImage::surface() const {
    if (!image_) return {};
    return {reinterpret_cast<std::uint32_t*>(image_->data), image_->width, image_->height,
            image_->bytes_per_line / 4};
}

void FrameImage::Put(Drawable drawable, GC gc) {
    if (!image_) return;
    const unsigned width = unsigned(image_->width);
    const unsigned height = unsigned(image_->height);
    if (segment_.shmaddr) {
        XShmPutImage(display_, drawable, gc, image_, 0, 0, 0, 0, width, height, False);
    } else {
        XPutImage(display_, drawable, gc, image_, 0, 0, 0, 0, width, height);
    }
    // The shared pixels are read by the server some time after the request; waiting for
    // its answer keeps the next frame from changing them under it. The same wait on the
    // socket path keeps both paths one frame deep, and brings any error in promptly.
    XSync(display_, False);
}

}  // namespace linux_host
