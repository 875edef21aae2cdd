#pragma once
// How the screen-saver library reads the command line Windows hands a .scr. Kept free of
// Windows headers so that it can be tested and fuzzed on any host.
#include <cstdint>
#include <string_view>

namespace windows_host {

enum class SaverMode {
    Configure,       // C, or no mode letter at all: the settings dialog
    FullScreen,      // S
    Preview,         // P <window>: inside the display control panel's little screen
    ChangePassword,  // A [<window>]: a relic of Windows 9x
};

struct SaverCommand {
    SaverMode mode = SaverMode::Configure;
    // The window number after P or A. 0 when there is none, when it is not a decimal
    // number, or when it exceeds the largest handle value the caller can hold: none of
    // those can name a window, and 0 never does.
    std::uint64_t window = 0;
};

// The first of the letters A, C, P and S, in either case, picks the mode wherever it
// stands; everything before it is ignored, whatever the bytes. Blanks and tabs may
// separate the letter from its number; the number ends at the first non-digit.
// `arguments` is the command line without the program's name.
SaverCommand ParseSaverCommandLine(std::string_view arguments, std::uint64_t largestWindow);

}  // namespace windows_host
