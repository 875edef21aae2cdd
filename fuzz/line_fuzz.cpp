// Any two line end points, as the scene hands them over (any float, NaN and infinities
// included), drawn into a small surface. Checked on every input: nothing is written outside
// the surface, and the pixels set are exactly those of the unclipped line that fall inside
// it, by the plain reference rule.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/standin/line_raster.h"
#include "scene/device_coordinate.h"
#include "tests/support/line_reference.h"

namespace {

constexpr std::uint32_t kInk = 0x00FFFFFF;
constexpr std::uint32_t kGuard = 0xA5A5A5A5;
constexpr int kFrame = 2;

[[noreturn]] void Fail(const char* what, const line_reference::Line& line, int width, int height) {
    std::fprintf(stderr, "line (%d,%d)->(%d,%d) on %dx%d: %s\n", line.x0, line.y0, line.x1,
                 line.y1, width, height, what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    float ends[4];
    if (size < 2 + sizeof ends) return 0;
    const int width = 1 + data[0] % 48;
    const int height = 1 + data[1] % 48;
    std::memcpy(ends, data + 2, sizeof ends);
    const line_reference::Line line{ToDeviceCoordinate(ends[0]), ToDeviceCoordinate(ends[1]),
                                    ToDeviceCoordinate(ends[2]), ToDeviceCoordinate(ends[3])};

    // The surface sits in a frame of guard pixels, with padding at the end of each row.
    const int stride = width + 3 + 2 * kFrame;
    std::vector<std::uint32_t> memory(std::size_t(stride) * (height + 2 * kFrame), kGuard);
    std::uint32_t* origin = memory.data() + std::size_t(kFrame) * stride + kFrame;
    for (int y = 0; y < height; ++y) std::fill_n(origin + std::size_t(y) * stride, width, 0u);
    standin::RasterizeLine({origin, width, height, stride}, line.x0, line.y0, line.x1, line.y1, kInk);

    line_reference::Pixels drawn;
    for (std::size_t i = 0; i < memory.size(); ++i) {
        const int y = int(i / stride) - kFrame, x = int(i % stride) - kFrame;
        const bool inside = x >= 0 && x < width && y >= 0 && y < height;
        if (!inside && memory[i] != kGuard) Fail("wrote outside the surface", line, width, height);
        if (inside && memory[i] == kInk) drawn.push_back({x, y});
    }
    std::sort(drawn.begin(), drawn.end());
    if (drawn != line_reference::ReferenceByScanning(line, width, height))
        Fail("pixels differ from the rule", line, width, height);
    return 0;
}
