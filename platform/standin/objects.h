#pragma once
// The stand-in's inner bookkeeping: every object it has handed out, by handle. Shared by
// the stand-in's own sources only.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/standin/control.h"

namespace standin::detail {

// A handle is a serial number with the object's kind in its low bits. Serials are never
// reused, so a stale handle is always recognised as released, never mistaken for a newer
// object; serial 0 of each kind is the stock object a fresh device context starts with.
enum class Kind : std::uintptr_t { Pen = 1, Bitmap = 2, DeviceContext = 3, Window = 4 };
constexpr int kKindBits = 3;

struct Pen {
    PenInfo info;
};

struct Bitmap {
    int width = 0;
    int height = 0;
    std::unique_ptr<std::uint32_t[]> pixels;
    std::size_t capacity = 0;
    HDC selectedInto = nullptr;
    Surface surface() const { return {pixels.get(), width, height, width}; }
};

struct DeviceContext {
    enum class Type { Window, Screen, Memory };
    Type type = Type::Memory;
    HWND window = nullptr;    // Window: the window it draws into
    HBITMAP bitmap = nullptr; // Memory: the selected bitmap; null while the stock one is in
    HPEN pen = nullptr;       // null while the stock (black) pen is in
    POINT position{0, 0};
};

struct Timer {
    UINT_PTR id;
    UINT periodMs;
};

struct Window {
    Surface surface;
    WNDPROC defaultProcedure = nullptr;
    std::vector<Timer> timers;
};

// Live objects of one kind by handle. The drawing calls look up the same device context
// and pen thousands of times a frame, so the last one found is kept at hand.
template <typename Object>
class Table {
public:
    Object* Find(std::uintptr_t key) {
        if (key != 0 && key == lastKey_) return last_;
        const auto it = map_.find(key);
        if (it == map_.end()) return nullptr;
        lastKey_ = key;
        last_ = &it->second;  // elements of an unordered_map stay put until erased
        return last_;
    }
    bool Contains(std::uintptr_t key) { return Find(key) != nullptr; }
    void Insert(std::uintptr_t key, Object object) { map_.emplace(key, std::move(object)); }
    bool Erase(std::uintptr_t key) {
        if (key == lastKey_) lastKey_ = 0;
        return map_.erase(key) > 0;
    }
    std::size_t size() const { return map_.size(); }
    auto begin() const { return map_.begin(); }
    auto end() const { return map_.end(); }

private:
    std::unordered_map<std::uintptr_t, Object> map_;
    std::uintptr_t lastKey_ = 0;
    Object* last_ = nullptr;
};

class Objects {
public:
    template <typename Handle>
    static std::uintptr_t Value(Handle handle) {
        return reinterpret_cast<std::uintptr_t>(handle);
    }
    static Kind KindOf(std::uintptr_t value) { return Kind(value & ((1u << kKindBits) - 1)); }
    template <typename Handle>
    static Handle StockHandle(Kind kind) {
        return reinterpret_cast<Handle>(std::uintptr_t(kind));
    }

    template <typename Handle>
    Handle NewHandle(Kind kind) {
        return reinterpret_cast<Handle>(nextSerial_++ << kKindBits | std::uintptr_t(kind));
    }
    // Why `value` names no live object: never handed out, or released already.
    std::string WhyNotLive(std::uintptr_t value) const;

    Table<Pen> pens;
    Table<Bitmap> bitmaps;
    Table<DeviceContext> deviceContexts;
    Table<Window> windows;

    // Frames make and drop a screen-sized bitmap every 10 ms; keeping the last freed
    // blocks saves asking the system for fresh, zero-filled pages each time.
    std::unique_ptr<std::uint32_t[]> TakeBlock(std::size_t pixels, std::size_t& capacity);
    void ReturnBlock(std::unique_ptr<std::uint32_t[]> block, std::size_t capacity);

private:
    std::uintptr_t nextSerial_ = 1;
    std::vector<std::pair<std::unique_ptr<std::uint32_t[]>, std::size_t>> freeBlocks_;
};

struct State {
    Objects objects;
    bool manualClock = false;
    DWORD tickCount = 0;
    Size screen{0, 0};
    FaultHandler faultHandler = nullptr;
    unsigned pendingFailures = 0;
    bool recording = false;
    std::vector<DrawingCall> journal;
};

State& TheState();
void Fault(const std::string& message);
// Writes the call down while a test records drawing calls.
inline void Record(const DrawingCall& call) {
    State& state = TheState();
    if (state.recording) state.journal.push_back(call);
}
// True once for each FailNext(what) that is pending.
bool ShouldFail(Failure what);

Pen* FindPen(HGDIOBJ handle);
Bitmap* FindBitmap(HGDIOBJ handle);
DeviceContext* FindDeviceContext(HDC handle);
Window* FindWindow(HWND handle);
// The pixels a device context draws into, or an empty surface.
Surface SurfaceOf(const DeviceContext& dc);

}  // namespace standin::detail
