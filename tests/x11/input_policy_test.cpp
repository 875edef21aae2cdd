// Which input ends the saver in which mode.
#include "hosts/linux/input_policy.h"

#include <gtest/gtest.h>

namespace {

using linux_host::InputEndsSaver;
using linux_host::InputPolicy;
using linux_host::Mode;
using linux_host::PointerLParam;

struct InputCase {
    Mode mode;
    UINT message;
    int x, y;  // mouse messages only
    bool ends;
};

TEST(InputEndsSaver, FollowsTheModesRules) {
    // The pointer stood at (300, 200) when the saver started.
    const InputCase cases[] = {
        {Mode::FullScreen, WM_KEYDOWN, 0, 0, true},
        {Mode::FullScreen, WM_LBUTTONDOWN, 300, 200, true},
        {Mode::FullScreen, WM_MBUTTONDOWN, 300, 200, true},
        {Mode::FullScreen, WM_RBUTTONDOWN, 300, 200, true},
        {Mode::FullScreen, WM_MOUSEMOVE, 300, 200, false},  // reported, but not moved
        {Mode::FullScreen, WM_MOUSEMOVE, 301, 200, true},
        {Mode::FullScreen, WM_MOUSEMOVE, 300, 199, true},
        {Mode::FullScreen, WM_PAINT, 0, 0, false},
        {Mode::FullScreen, WM_TIMER, 0, 0, false},
        {Mode::Window, WM_KEYDOWN, 0, 0, true},
        {Mode::Window, WM_LBUTTONDOWN, 10, 10, false},
        {Mode::Window, WM_MOUSEMOVE, 10, 10, false},
        {Mode::Root, WM_KEYDOWN, 0, 0, false},
        {Mode::Root, WM_MOUSEMOVE, 10, 10, false},
        {Mode::Preview, WM_KEYDOWN, 0, 0, false},
        {Mode::Preview, WM_LBUTTONDOWN, 10, 10, false},
    };
    for (const InputCase& c : cases) {
        InputPolicy policy;
        policy.mode = c.mode;
        policy.pointerAtStart = {300, 200};
        EXPECT_EQ(InputEndsSaver(policy, c.message, PointerLParam(c.x, c.y)), c.ends)
            << "mode " << int(c.mode) << ", message " << std::hex << c.message << std::dec
            << " at (" << c.x << ", " << c.y << ")";
    }
}

TEST(InputEndsSaver, ReadsNegativeCoordinatesAsThePlatformPacksThem) {
    // Left of or above the window, as a grabbed pointer on another screen can report.
    InputPolicy policy;
    policy.mode = Mode::FullScreen;
    policy.pointerAtStart = {-5, -7};
    EXPECT_FALSE(InputEndsSaver(policy, WM_MOUSEMOVE, PointerLParam(-5, -7)));
    EXPECT_TRUE(InputEndsSaver(policy, WM_MOUSEMOVE, PointerLParam(-5, 7)));
    EXPECT_EQ(PointerLParam(1, 2), LPARAM(0x00020001));
    EXPECT_EQ(PointerLParam(-1, 0), LPARAM(0x0000FFFF));
}

}  // namespace
