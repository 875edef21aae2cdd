#pragma once
// The pixels GDI sets for a one-pixel line, computed the plainest way: pixel k of the line
// in exact 128-bit arithmetic. Slow and obviously right; the stand-in's rasterizer is
// checked against it.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace line_reference {

__extension__ typedef __int128 Int128;

struct Pixel {
    int x;
    int y;
    bool operator==(const Pixel& other) const { return x == other.x && y == other.y; }
    bool operator<(const Pixel& other) const {
        return y != other.y ? y < other.y : x < other.x;
    }
};
using Pixels = std::vector<Pixel>;

struct Line {
    int x0, y0, x1, y1;
};

// The rule, written the plainest way: pixel k of the line, in exact 128-bit arithmetic.
struct Geometry {
    bool xMajor;
    std::int64_t majorLength;  // M: pixels drawn before clipping.
    Line line;
};

inline Geometry Measure(const Line& line) {
    const std::int64_t dx = std::int64_t{line.x1} - line.x0;
    const std::int64_t dy = std::int64_t{line.y1} - line.y0;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    return {adx > ady, adx > ady ? adx : ady, line};
}

// Where pixel k lies; coordinates may be far outside an int.
struct Point {
    std::int64_t x;
    std::int64_t y;
};

inline Point PointOfStep(const Geometry& g, std::int64_t k) {
    const Line& l = g.line;
    const Int128 dMajor = g.xMajor ? Int128{l.x1} - l.x0 : Int128{l.y1} - l.y0;
    const Int128 dMinor = g.xMajor ? Int128{l.y1} - l.y0 : Int128{l.x1} - l.x0;
    const Int128 bigM = dMajor < 0 ? -dMajor : dMajor;
    const Int128 smallM = dMinor < 0 ? -dMinor : dMinor;
    const int bias = dMinor < 0 ? 1 : 0;
    // Everything here is non-negative, so / is floor.
    const Int128 offset = (2 * Int128{k} * smallM + bigM - 1 + bias) / (2 * bigM);
    const Int128 major = (g.xMajor ? l.x0 : l.y0) + (dMajor < 0 ? -Int128{k} : Int128{k});
    const Int128 minor = (g.xMajor ? l.y0 : l.x0) + (dMinor < 0 ? -offset : offset);
    const auto a = static_cast<std::int64_t>(major);
    const auto b = static_cast<std::int64_t>(minor);
    return g.xMajor ? Point{a, b} : Point{b, a};
}

inline bool Inside(const Point& p, int width, int height) {
    return p.x >= 0 && p.x < width && p.y >= 0 && p.y < height;
}

inline bool Inside(const Pixel& p, int width, int height) {
    return Inside(Point{p.x, p.y}, width, height);
}

inline void KeepIfInside(const Point& p, int width, int height, Pixels& pixels) {
    if (Inside(p, width, height)) {
        pixels.push_back({static_cast<int>(p.x), static_cast<int>(p.y)});
    }
}

// Every pixel of the unclipped line, kept if inside. Only for modest coordinates: it walks
// the whole line.
inline Pixels ReferenceByWalking(const Line& line, int width, int height) {
    const Geometry g = Measure(line);
    Pixels pixels;
    for (std::int64_t k = 0; k < g.majorLength; ++k) {
        KeepIfInside(PointOfStep(g, k), width, height, pixels);
    }
    std::sort(pixels.begin(), pixels.end());
    return pixels;
}

// The same pixels for any coordinates: one candidate per major coordinate of the surface.
inline Pixels ReferenceByScanning(const Line& line, int width, int height) {
    const Geometry g = Measure(line);
    const std::int64_t start = g.xMajor ? line.x0 : line.y0;
    const std::int64_t end = g.xMajor ? line.x1 : line.y1;
    Pixels pixels;
    for (int major = 0; major < (g.xMajor ? width : height); ++major) {
        const std::int64_t k = end >= start ? major - start : start - major;
        if (k < 0 || k >= g.majorLength) continue;
        KeepIfInside(PointOfStep(g, k), width, height, pixels);
    }
    std::sort(pixels.begin(), pixels.end());
    return pixels;
}

}  // namespace line_reference
