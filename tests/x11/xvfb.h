#pragma once
// A private X server for one test: Xvfb on a display number it picks itself
// (-displayfd), so that tests can run side by side, with helpers to look at what the
// saver put on it.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/headless/child_process.h"

namespace test_support {

struct XvfbSettings {
    int width = 800;
    int height = 600;
    bool sharedMemory = true;  // false starts the server without MIT-SHM
};

class Xvfb {
public:
    explicit Xvfb(XvfbSettings settings = {});
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    // Empty when the server did not start (see error()).
    const std::string& name() const { return name_; }
    const std::string& error() const { return error_; }
    // The test's own connection.
    Display* display() const { return display_; }
    // Kills the server with `signal`, closing the test's connection first so that its
    // loss does not end the test.
    void Kill(int signal);

private:
    std::unique_ptr<ChildProcess> server_;
    std::string name_;
    std::string error_;
    Display* display_ = nullptr;
};

// Polls `condition` every 20 ms until it holds or `limit` passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// Mapped children of the root window.
std::vector<Window> MappedTopLevelWindows(Display* display);
// The first mapped top-level window that is not one of `except`, or None.
Window NewTopLevelWindow(Display* display, const std::vector<Window>& except = {});

struct WindowFacts {
    bool exists = false;
    int x = 0, y = 0, width = 0, height = 0;
    bool overrideRedirect = false;
    bool mapped = false;
};
WindowFacts Facts(Display* display, Window window);

// The window's pixels as 0x00RRGGBB, rows packed; empty when it cannot be read.
std::vector<std::uint32_t> Pixels(Display* display, Window window);

// A plain window of the test's own, mapped, black, for the saver to draw into.
Window MakeWindow(Display* display, int width, int height);

// Runs xdotool against the server; true when it succeeded.
bool XDoTool(const Xvfb& server, const std::vector<std::string>& arguments);

}  // namespace test_support
