// GDI objects of the stand-in: pens, bitmaps and device contexts, their creation,
// selection and release, and the checks that turn a misuse into a test failure.
#include <cstdio>
#include <cstdlib>

#include "platform/standin/objects.h"

namespace standin::detail {

State& TheState() {
    static State state;
    return state;
}

void Fault(const std::string& message) {
    if (FaultHandler handler = TheState().faultHandler) {
        handler(message);
        return;
    }
    std::fprintf(stderr, "colorlines stand-in: %s\n", message.c_str());
    std::abort();
}

bool ShouldFail(Failure what) {
    const unsigned bit = 1u << unsigned(what);
    unsigned& pending = TheState().pendingFailures;
    if (!(pending & bit)) return false;
    pending &= ~bit;
    return true;
}

std::string Objects::WhyNotLive(std::uintptr_t value) const {
    const std::uintptr_t serial = value >> kKindBits;
    const auto kind = KindOf(value);
    const bool known = kind >= Kind::Pen && kind <= Kind::Window && serial < nextSerial_;
    char text[64];
    std::snprintf(text, sizeof text, "handle %#llx", static_cast<unsigned long long>(value));
    return std::string(text) + (known ? " was released already" : " was never handed out");
}

std::unique_ptr<std::uint32_t[]> Objects::TakeBlock(std::size_t pixels, std::size_t& capacity) {
    for (auto it = freeBlocks_.begin(); it != freeBlocks_.end(); ++it) {
        if (it->second >= pixels && it->second <= pixels + pixels / 4) {
            auto block = std::move(it->first);
            capacity = it->second;
            freeBlocks_.erase(it);
            return block;
        }
    }
    capacity = pixels;
    // Left uninitialised: the contents of a new compatible bitmap are not defined.
    return std::unique_ptr<std::uint32_t[]>(new std::uint32_t[pixels == 0 ? 1 : pixels]);
}

void Objects::ReturnBlock(std::unique_ptr<std::uint32_t[]> block, std::size_t capacity) {
    constexpr std::size_t kKeptBlocks = 2;
    if (freeBlocks_.size() == kKeptBlocks) freeBlocks_.erase(freeBlocks_.begin());
    freeBlocks_.emplace_back(std::move(block), capacity);
}

Pen* FindPen(HGDIOBJ handle) { return TheState().objects.pens.Find(Objects::Value(handle)); }
Bitmap* FindBitmap(HGDIOBJ handle) {
    return TheState().objects.bitmaps.Find(Objects::Value(handle));
}
DeviceContext* FindDeviceContext(HDC handle) {
    return TheState().objects.deviceContexts.Find(Objects::Value(handle));
}
Window* FindWindow(HWND handle) { return TheState().objects.windows.Find(Objects::Value(handle)); }

Surface SurfaceOf(const DeviceContext& dc) {
    switch (dc.type) {
    case DeviceContext::Type::Memory:
        if (const Bitmap* bitmap = FindBitmap(dc.bitmap)) return bitmap->surface();
        return {};
    case DeviceContext::Type::Window:
        if (const Window* window = FindWindow(dc.window)) return window->surface;
        return {};
    case DeviceContext::Type::Screen:
        return {};
    }
    return {};
}

}  // namespace standin::detail

using namespace standin;
using namespace standin::detail;

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    if (ShouldFail(Failure::CreatePen)) return nullptr;
    Objects& objects = TheState().objects;
    const HPEN pen = objects.NewHandle<HPEN>(Kind::Pen);
    objects.pens.Insert(Objects::Value(pen), Pen{PenInfo{style, width, color}});
    return pen;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (ShouldFail(Failure::CreateCompatibleBitmap)) return nullptr;
    if (!FindDeviceContext(dc) || width < 0 || height < 0) return nullptr;
    Objects& objects = TheState().objects;
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels = objects.TakeBlock(std::size_t(width) * std::size_t(height), bitmap.capacity);
    const HBITMAP handle = objects.NewHandle<HBITMAP>(Kind::Bitmap);
    objects.bitmaps.Insert(Objects::Value(handle), std::move(bitmap));
    return handle;
}

HDC WINAPI CreateCompatibleDC(HDC dc) {
    if (ShouldFail(Failure::CreateCompatibleDC)) return nullptr;
    // A null reference device context means the screen, as on the platform.
    if (dc && !FindDeviceContext(dc)) return nullptr;
    Objects& objects = TheState().objects;
    const HDC memory = objects.NewHandle<HDC>(Kind::DeviceContext);
    objects.deviceContexts.Insert(Objects::Value(memory), DeviceContext{});
    return memory;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    Record({DrawingCall::Kind::SelectObject, dc, object, 0, 0});
    DeviceContext* context = FindDeviceContext(dc);
    if (!context) return nullptr;
    const std::uintptr_t value = Objects::Value(object);
    switch (Objects::KindOf(value)) {
    case Kind::Pen: {
        if (object != Objects::StockHandle<HGDIOBJ>(Kind::Pen) && !FindPen(object)) return nullptr;
        const HGDIOBJ previous = context->pen ? HGDIOBJ(context->pen)
                                              : Objects::StockHandle<HGDIOBJ>(Kind::Pen);
        context->pen = object == Objects::StockHandle<HGDIOBJ>(Kind::Pen) ? nullptr
                                                                          : static_cast<HPEN>(object);
        return previous;
    }
    case Kind::Bitmap: {
        // Only a memory device context holds a bitmap, and a bitmap sits in one at a time.
        if (context->type != DeviceContext::Type::Memory) return nullptr;
        const bool stock = object == Objects::StockHandle<HGDIOBJ>(Kind::Bitmap);
        Bitmap* bitmap = stock ? nullptr : FindBitmap(object);
        if (!stock && (!bitmap || (bitmap->selectedInto && bitmap->selectedInto != dc))) return nullptr;
        const HGDIOBJ previous = context->bitmap ? HGDIOBJ(context->bitmap)
                                                 : Objects::StockHandle<HGDIOBJ>(Kind::Bitmap);
        if (Bitmap* old = FindBitmap(context->bitmap)) old->selectedInto = nullptr;
        context->bitmap = stock ? nullptr : static_cast<HBITMAP>(object);
        if (bitmap) bitmap->selectedInto = dc;
        return previous;
    }
    default:
        return nullptr;
    }
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    if (!object) return FALSE;  // as on the platform: a failed creation may be passed on
    Objects& objects = TheState().objects;
    const std::uintptr_t value = Objects::Value(object);
    const Kind kind = Objects::KindOf(value);
    if ((kind == Kind::Pen || kind == Kind::Bitmap) && value >> kKindBits == 0) return TRUE;  // stock

    if (kind == Kind::Pen && objects.pens.Contains(value)) {
        for (const auto& [handle, dc] : objects.deviceContexts) {
            if (dc.pen == object) {
                Fault("DeleteObject of a pen that is still selected into a live device context");
                return FALSE;
            }
        }
        objects.pens.Erase(value);
        return TRUE;
    }
    if (Bitmap* found = kind == Kind::Bitmap ? objects.bitmaps.Find(value) : nullptr) {
        Bitmap& bitmap = *found;
        if (bitmap.selectedInto) {
            Fault("DeleteObject of a bitmap that is still selected into a live device context");
            return FALSE;
        }
        objects.ReturnBlock(std::move(bitmap.pixels), bitmap.capacity);
        objects.bitmaps.Erase(value);
        return TRUE;
    }
    if (kind == Kind::DeviceContext && objects.deviceContexts.Contains(value)) {
        Fault("DeleteObject of a device context: DeleteDC or ReleaseDC releases it");
        return FALSE;
    }
    Fault("DeleteObject: " + objects.WhyNotLive(value));
    return FALSE;
}

BOOL WINAPI DeleteDC(HDC dc) {
    if (!dc) return FALSE;  // as DeleteObject: a failed creation may be passed on
    Objects& objects = TheState().objects;
    DeviceContext* context = FindDeviceContext(dc);
    if (!context) {
        Fault("DeleteDC: " + objects.WhyNotLive(Objects::Value(dc)));
        return FALSE;
    }
    if (context->type != DeviceContext::Type::Memory) {
        Fault("DeleteDC of a device context from GetDC: ReleaseDC releases it");
        return FALSE;
    }
    // Whatever is still selected is let go with the device context, but stays alive.
    if (Bitmap* bitmap = FindBitmap(context->bitmap)) bitmap->selectedInto = nullptr;
    objects.deviceContexts.Erase(Objects::Value(dc));
    return TRUE;
}

namespace standin {

LiveObjects CountLiveObjects() {
    const Objects& objects = TheState().objects;
    return {int(objects.pens.size()), int(objects.bitmaps.size()),
            int(objects.deviceContexts.size()), int(objects.windows.size())};
}

bool DescribePen(HPEN pen, PenInfo& info) {
    const Pen* found = FindPen(pen);
    if (found) info = found->info;
    return found != nullptr;
}

HPEN SelectedPen(HDC dc) {
    const DeviceContext* context = FindDeviceContext(dc);
    return context ? context->pen : nullptr;
}

FaultHandler SetFaultHandler(FaultHandler handler) {
    const FaultHandler previous = TheState().faultHandler;
    TheState().faultHandler = handler;
    return previous;
}

void FailNext(Failure what) { TheState().pendingFailures |= 1u << unsigned(what); }

}  // namespace standin
