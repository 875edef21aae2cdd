#include "platform/standin/line_raster.h"
#include "tests/support/line_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace line_reference;
using standin::RasterizeLine;
using standin::Surface;

constexpr std::uint32_t kInk = 0x00C0FFEE;
constexpr std::uint32_t kPaper = 0x00000000;
constexpr std::uint32_t kGuard = 0xA5A5A5A5;

std::string Describe(const Line& line) {
    std::ostringstream out;
    out << "(" << line.x0 << "," << line.y0 << ")->(" << line.x1 << "," << line.y1 << ")";
    return out.str();
}

std::string Describe(const Pixels& pixels) {
    std::ostringstream out;
    for (const Pixel& p : pixels) out << " (" << p.x << "," << p.y << ")";
    return pixels.empty() ? " none" : out.str();
}

// A surface with a frame of guard pixels around it and padding at the end of each row, so
// that a write past any edge, or into the padding, shows.
class Canvas {
public:
    Canvas(int width, int height, int padding = 3)
        : width_(width), height_(height), stride_(width + padding + 2 * kFrame),
          memory_(static_cast<std::size_t>(stride_) * (height + 2 * kFrame), kGuard) {
        Clear();
    }

    Surface surface() {
        Surface s;
        s.pixels = &At(0, 0);
        s.width = width_;
        s.height = height_;
        s.stride = stride_;
        return s;
    }

    void Clear() {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) At(x, y) = kPaper;
        }
    }

    Pixels Inked() {
        Pixels inked;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const std::uint32_t value = At(x, y);
                if (value == kInk) {
                    inked.push_back({x, y});
                } else if (value != kPaper) {
                    ADD_FAILURE() << "pixel (" << x << "," << y << ") holds " << value;
                }
            }
        }
        return inked;
    }

    // Counts guard pixels that were written, anywhere outside the surface.
    int GuardWrites() const {
        int writes = 0;
        for (std::size_t i = 0; i < memory_.size(); ++i) {
            const int y = static_cast<int>(i / stride_) - kFrame;
            const int x = static_cast<int>(i % stride_) - kFrame;
            const bool inside = x >= 0 && x < width_ && y >= 0 && y < height_;
            if (!inside && memory_[i] != kGuard) ++writes;
        }
        return writes;
    }

    Pixels Draw(const Line& line) {
        Clear();
        RasterizeLine(surface(), line.x0, line.y0, line.x1, line.y1, kInk);
        return Inked();
    }

    int width() const { return width_; }
    int height() const { return height_; }

private:
    static constexpr int kFrame = 2;
    std::uint32_t& At(int x, int y) {
        return memory_[static_cast<std::size_t>(y + kFrame) * stride_ + (x + kFrame)];
    }

    int width_;
    int height_;
    int stride_;
    std::vector<std::uint32_t> memory_;
};

// Compares the drawn pixels with the reference; reports at most a handful of lines so that
// one fault does not bury the log.
class Checker {
public:
    explicit Checker(Canvas& canvas) : canvas_(canvas) {}

    void Check(const Line& line, const Pixels& expected) {
        const Pixels drawn = canvas_.Draw(line);
        const int guardWrites = canvas_.GuardWrites();
        if (drawn == expected && guardWrites == 0) return;
        if (++failures_ <= 8) {
            ADD_FAILURE() << Describe(line) << " on " << canvas_.width() << "x"
                          << canvas_.height() << "\n  drawn:   " << Describe(drawn)
                          << "\n  expected:" << Describe(expected)
                          << "\n  writes outside the surface: " << guardWrites;
        }
    }

    int failures() const { return failures_; }

private:
    Canvas& canvas_;
    int failures_ = 0;
};

TEST(RasterizeLine, DrawsTheWorkedExamplesOfGdi) {
    struct Case {
        int size;
        Line line;
        Pixels pixels;
    };
    const std::vector<Case> cases = {
        {10, {0, 0, 4, 1}, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
        {10, {4, 1, 0, 0}, {{4, 1}, {3, 1}, {2, 0}, {1, 0}}},
        {10, {0, 0, 1, 4}, {{0, 0}, {0, 1}, {0, 2}, {1, 3}}},
        {10, {1, 4, 0, 0}, {{1, 4}, {1, 3}, {0, 2}, {0, 1}}},
        {10, {2, 0, 0, 4}, {{2, 0}, {1, 1}, {1, 2}, {0, 3}}},
        {10, {4, 0, 0, 1}, {{4, 0}, {3, 0}, {2, 0}, {1, 1}}},
        {10, {0, 4, 1, 0}, {{0, 4}, {0, 3}, {0, 2}, {1, 1}}},
        {10, {0, 1, 4, 0}, {{0, 1}, {1, 1}, {2, 0}, {3, 0}}},
        {10, {0, 0, 3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {10, {2, 2, 2, 2}, {}},
        {10, {-5, -2, 15, 8},
         {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}, {7, 4}, {8, 4}, {9, 5}}},
        {10, {-1000, -7, 1000, 13},
         {{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}, {8, 3}, {9, 3}}},
        // Horizontal and vertical, both ways: the start is drawn, the end is not.
        {10, {2, 5, 6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {10, {6, 5, 2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        {10, {7, 1, 7, 4}, {{7, 1}, {7, 2}, {7, 3}}},
        {10, {7, 4, 7, 1}, {{7, 4}, {7, 3}, {7, 2}}},
        // A 45-degree line running up and to the left.
        {10, {5, 5, 2, 2}, {{5, 5}, {4, 4}, {3, 3}}},
    };
    for (const Case& c : cases) {
        Canvas canvas(c.size, c.size);
        Pixels expected = c.pixels;
        std::sort(expected.begin(), expected.end());
        const Pixels drawn = canvas.Draw(c.line);
        EXPECT_EQ(drawn, expected) << Describe(c.line) << "\n  drawn:   " << Describe(drawn)
                                   << "\n  expected:" << Describe(expected);
        EXPECT_EQ(canvas.GuardWrites(), 0) << Describe(c.line);
    }
}

// Every line between two points of a grid that reaches past each edge of a small surface:
// all octants, ties, and end points on, just inside and just outside every edge and corner.
TEST(RasterizeLine, MatchesTheRuleForEveryLineAroundASmallSurface) {
    for (const auto& [width, height] : {std::pair{7, 5}, std::pair{1, 6}, std::pair{6, 1}}) {
        Canvas canvas(width, height);
        Checker checker(canvas);
        std::vector<Pixel> points;
        for (int y = -3; y <= height + 2; ++y) {
            for (int x = -3; x <= width + 2; ++x) points.push_back({x, y});
        }
        for (const Pixel& a : points) {
            for (const Pixel& b : points) {
                const Line line{a.x, a.y, b.x, b.y};
                checker.Check(line, ReferenceByWalking(line, width, height));
            }
        }
        EXPECT_EQ(checker.failures(), 0) << "on " << width << "x" << height;
    }
}

// Reversing a line only swaps which end is drawn: A->B plus B equals B->A plus A.
TEST(RasterizeLine, ReversedLineDiffersOnlyInItsEndPixel) {
    Canvas canvas(40, 30);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-20, 60);
    int failures = 0;
    for (int i = 0; i < 10000 && failures < 8; ++i) {
        const Line forward{coordinate(random), coordinate(random), coordinate(random),
                           coordinate(random)};
        const Line backward{forward.x1, forward.y1, forward.x0, forward.y0};
        const Pixel a{forward.x0, forward.y0};
        const Pixel b{forward.x1, forward.y1};
        const bool degenerate = a == b;

        Pixels withB = canvas.Draw(forward);
        if (!degenerate && Inside(b, canvas.width(), canvas.height())) withB.push_back(b);
        Pixels withA = canvas.Draw(backward);
        if (!degenerate && Inside(a, canvas.width(), canvas.height())) withA.push_back(a);
        std::sort(withB.begin(), withB.end());
        std::sort(withA.begin(), withA.end());
        if (withA != withB) {
            ++failures;
            ADD_FAILURE() << Describe(forward) << " plus its end:" << Describe(withB)
                          << "\n  reversed plus its end:" << Describe(withA);
        }
    }
}

// Clipping keeps exactly the pixels of the unclipped line that are inside, wherever the
// end points are.
TEST(RasterizeLine, ClipsToExactlyThePixelsOfTheUnclippedLine) {
    Canvas canvas(40, 30);
    Checker checker(canvas);
    std::mt19937 random(2024);
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // An end point on, or one off, a random edge.
    const auto onEdge = [&](int& x, int& y) {
        const int side = pick(0, 3);
        const int off = pick(-1, 0);
        if (side == 0) { x = pick(-1, 40); y = off; }
        if (side == 1) { x = pick(-1, 40); y = 29 - off; }
        if (side == 2) { x = off; y = pick(-1, 30); }
        if (side == 3) { x = 39 - off; y = pick(-1, 30); }
    };
    for (int i = 0; i < 4000; ++i) {
        Line line{};
        switch (i % 4) {
            case 0:  // Near the surface, often crossing an edge.
                line = {pick(-30, 70), pick(-30, 60), pick(-30, 70), pick(-30, 60)};
                break;
            case 1:  // Both ends far away.
                line = {pick(-30000, 30000), pick(-30000, 30000), pick(-30000, 30000),
                        pick(-30000, 30000)};
                break;
            case 2: {  // Far away on both sides of a point of the surface, so it crosses.
                const int px = pick(0, 39), py = pick(0, 29);
                const int ax = pick(-20000, 20000), ay = pick(-20000, 20000);
                line = {px + ax, py + ay, px - ax + pick(-2, 2), py - ay + pick(-2, 2)};
                break;
            }
            default:  // End points on the edges.
                onEdge(line.x0, line.y0);
                if (i % 8 == 3) {
                    onEdge(line.x1, line.y1);
                } else {
                    line.x1 = pick(-1000, 1000);
                    line.y1 = pick(-1000, 1000);
                }
                break;
        }
        checker.Check(line, ReferenceByWalking(line, 40, 30));
    }
    EXPECT_EQ(checker.failures(), 0);
}

// End points anywhere in the int range: the exact pixels, nothing outside the surface, and
// no overflow (the sanitizer build checks that). Takes no longer than a short line would.
TEST(RasterizeLine, HandlesEndPointsAtTheLimitsOfInt) {
    Canvas canvas(40, 30);
    Checker checker(canvas);
    const std::vector<int> values = {INT_MIN,  INT_MIN + 1, -(1 << 30), -(1 << 27) - 1, -1,
                                     0,        1,           17,         39,             40,
                                     1 << 27, (1 << 30) + 3, INT_MAX - 1, INT_MAX};
    std::vector<Pixel> points;
    for (int x : values) {
        for (int y : values) points.push_back({x, y});
    }
    for (const Pixel& a : points) {
        for (const Pixel& b : points) {
            const Line line{a.x, a.y, b.x, b.y};
            checker.Check(line, ReferenceByScanning(line, 40, 30));
        }
    }
    // Lines that cross the surface at every slope, with end points far out near the limits.
    std::mt19937 random(99);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    for (int i = 0; i < 3000; ++i) {
        const int px = static_cast<int>(random() % 40), py = static_cast<int>(random() % 30);
        const int ax = any(random), ay = any(random);
        // Mirror through (px, py), clamped to int: the line passes at or close to it.
        const auto mirror = [](int p, int a) {
            const std::int64_t m = 2 * std::int64_t{p} - a;
            return static_cast<int>(std::clamp<std::int64_t>(m, INT_MIN, INT_MAX));
        };
        const Line line{ax, ay, mirror(px, ax), mirror(py, ay)};
        checker.Check(line, ReferenceByScanning(line, 40, 30));
    }
    EXPECT_EQ(checker.failures(), 0);

    // The diagonal of the whole int plane crosses the surface on its own diagonal.
    const Pixels diagonal = canvas.Draw({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    Pixels expected;
    for (int i = 0; i < 30; ++i) expected.push_back({i, i});
    EXPECT_EQ(diagonal, expected) << Describe(diagonal);
}

TEST(RasterizeLine, DrawsNothingOnANullOrEmptySurface) {
    // A null surface must not be touched at all.
    Surface none;
    none.width = 40;
    none.height = 30;
    none.stride = 40;
    RasterizeLine(none, 0, 0, 39, 29, kInk);

    struct Case {
        int width, height;
    };
    for (const Case c : {Case{0, 5}, Case{5, 0}, Case{-3, 5}, Case{5, -3}, Case{0, 0}}) {
        std::vector<std::uint32_t> memory(64, kGuard);
        Surface empty;
        empty.pixels = memory.data();
        empty.width = c.width;
        empty.height = c.height;
        empty.stride = 8;
        RasterizeLine(empty, 0, 0, 7, 7, kInk);
        RasterizeLine(empty, 0, 0, 0, 7, kInk);
        RasterizeLine(empty, 3, 0, -4, 0, kInk);
        EXPECT_EQ(std::count(memory.begin(), memory.end(), kGuard), 64)
            << c.width << "x" << c.height;
    }
}

}  // namespace
