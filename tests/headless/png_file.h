#pragma once
// Reads a PNG back for the tests, as 0x00RRGGBB pixels.
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows packed
    std::string error;                  // set when the file could not be read
};

Picture ReadPng(const std::string& path);

}  // namespace test_support
