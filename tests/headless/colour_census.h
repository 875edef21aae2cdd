#pragma once
// What the saver may put on screen: black, and lines in its swarms' colours. Until the
// first re-targeting both swarms share pure green; after it, swarm A is red 255 with
// green below 255 and swarm B green 255 with red below 255, blue always 0.
#include <cstdint>
#include <vector>

namespace test_support {

struct ColourCensus {
    long black = 0;
    long pureGreen = 0;  // (0, 255, 0): the shared pen, or swarm B with red 0
    long swarmA = 0;     // (255, 0..254, 0)
    long swarmB = 0;     // (1..254, 255, 0)
    long other = 0;      // anything else: a wrong pixel
    std::uint32_t firstOther = 0;

    long lines() const { return pureGreen + swarmA + swarmB; }
};

inline ColourCensus TakeCensus(const std::vector<std::uint32_t>& pixels) {
    ColourCensus census;
    for (const std::uint32_t pixel : pixels) {
        const unsigned red = pixel >> 16 & 0xFF, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
        if ((pixel & 0xFFFFFF) == 0) {
            ++census.black;
        } else if (blue == 0 && red == 0 && green == 255) {
            ++census.pureGreen;
        } else if (blue == 0 && red == 255 && green < 255) {
            ++census.swarmA;
        } else if (blue == 0 && green == 255 && red < 255) {
            ++census.swarmB;
        } else {
            if (census.other++ == 0) census.firstOther = pixel & 0xFFFFFF;
        }
    }
    return census;
}

}  // namespace test_support
