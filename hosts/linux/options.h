#pragma once
// How the Linux host is started: a pure reading of the command line, with no X call, so
// that it runs before static initialisation (see main.cpp), can be tested on its own and
// fuzzed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace linux_host {

enum class Mode {
    Window,      // its own ordinary window of the screen's size, for trying it out
    FullScreen,  // above all other windows, pointer hidden; input ends it
    Root,        // the window XScreenSaver names, else the root window
    Preview,     // a foreign window, named on the command line
    Headless,    // no display: a simulated clock and PNG files
    Help,
    Version,
    Invalid,
};

struct Options {
    Mode mode = Mode::Window;
    // Preview: the window to draw into.
    std::uint32_t windowId = 0;
    // Headless only.
    int width = 1920;
    int height = 1080;
    int frames = 300;
    std::optional<std::uint32_t> seed;
    std::string snapshot;   // the last frame, when not empty
    std::string framesDir;  // every frame, when not empty
    // Print frames per second and processor use when the saver ends.
    bool stats = false;
    // Invalid: one line saying what is wrong, without the program's name.
    std::string error;
};

// `arguments` excludes the program's name. The host reads its own options before the
// saver's single-letter ones: under the saver's rule (first of A, C, P, S anywhere)
// "--help" would mean preview.
Options ParseOptions(const std::vector<std::string_view>& arguments);
Options ParseOptions(int argc, const char* const* argv);

// An X window id as XScreenSaver and xwininfo write it: 0x-prefixed hex or decimal. Empty
// when malformed, zero or past the 29 bits an X resource id has.
std::optional<std::uint32_t> ParseWindowId(std::string_view text);

// The text --help prints.
const char* Usage();

}  // namespace linux_host
