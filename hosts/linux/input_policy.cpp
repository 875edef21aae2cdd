#include "hosts/linux/input_policy.h"

#include <cstdint>

namespace linux_host {

LPARAM PointerLParam(int x, int y) {
    return LPARAM(std::uint32_t(std::uint16_t(x)) | std::uint32_t(std::uint16_t(y)) << 16);
}

bool InputEndsSaver(const InputPolicy& policy, UINT message, LPARAM lParam) {
    switch (policy.mode) {
    case Mode::FullScreen:
        switch (message) {
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return true;
        case WM_MOUSEMOVE: {
            const int x = std::int16_t(std::uint16_t(lParam));
            const int y = std::int16_t(std::uint16_t(lParam >> 16));
            return x != policy.pointerAtStart.x || y != policy.pointerAtStart.y;
        }
        default:
            return false;
        }
    case Mode::Window:
        return message == WM_KEYDOWN;
    default:
        return false;
    }
}

}  // namespace linux_host
