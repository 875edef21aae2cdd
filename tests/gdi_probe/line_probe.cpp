// Draws a fixed set of one-pixel lines, each into a fresh small bitmap, and prints the
// pixels every line set, one text line per line drawn. Built against the real Win32 API it
// records what GDI does (under Wine or on Windows); built against the stand-in it records
// what we do. The two printouts must be identical.
//
// Only Win32 calls that the stand-in offers are used, so that the one source serves both.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/platform.h"

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 30;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Line {
    int x0, y0, x1, y1;
};

constexpr int kBig = 1 << 27;  // As far out as device coordinates are drawn exactly.

std::vector<Line> FixedLines() {
    std::vector<Line> lines = {
        // The worked examples of the rule (end point never drawn, ties to left or top).
        {0, 0, 4, 1}, {4, 1, 0, 0}, {0, 0, 1, 4}, {1, 4, 0, 0},
        {2, 0, 0, 4}, {4, 0, 0, 1}, {0, 4, 1, 0}, {0, 1, 4, 0},
        {0, 0, 3, 3}, {2, 2, 2, 2},
        // Zero length anywhere, including outside.
        {0, 0, 0, 0}, {39, 29, 39, 29}, {-5, 7, -5, 7},
        // One step in each of the eight directions.
        {20, 15, 21, 15}, {20, 15, 19, 15}, {20, 15, 20, 16}, {20, 15, 20, 14},
        {20, 15, 21, 16}, {20, 15, 19, 16}, {20, 15, 21, 14}, {20, 15, 19, 14},
        // Every octant, out from the centre and back in.
        {20, 15, 27, 18}, {20, 15, 23, 22}, {20, 15, 13, 18}, {20, 15, 17, 22},
        {20, 15, 27, 12}, {20, 15, 23, 8},  {20, 15, 13, 12}, {20, 15, 17, 8},
        {27, 18, 20, 15}, {23, 22, 20, 15}, {13, 18, 20, 15}, {17, 22, 20, 15},
        {27, 12, 20, 15}, {23, 8, 20, 15},  {13, 12, 20, 15}, {17, 8, 20, 15},
        // Exact halfway points in every octant: slopes 1/2, 1/6 and 3/10 and their mirrors.
        {10, 10, 14, 12}, {14, 12, 10, 10}, {10, 12, 14, 10}, {14, 10, 10, 12},
        {10, 10, 12, 14}, {12, 14, 10, 10}, {12, 10, 10, 14}, {10, 14, 12, 10},
        {5, 5, 11, 6},    {11, 6, 5, 5},    {5, 6, 11, 5},    {11, 5, 5, 6},
        {5, 5, 6, 11},    {6, 11, 5, 5},    {6, 5, 5, 11},    {5, 11, 6, 5},
        {3, 3, 13, 6},    {13, 6, 3, 3},    {3, 6, 13, 3},    {13, 3, 3, 6},
        {3, 3, 6, 13},    {6, 13, 3, 3},    {6, 3, 3, 13},    {3, 13, 6, 3},
        // Horizontal, vertical and 45 degrees, both ways.
        {5, 7, 30, 7},    {30, 7, 5, 7},    {9, 2, 9, 25},    {9, 25, 9, 2},
        {2, 2, 20, 20},   {20, 20, 2, 2},   {2, 20, 20, 2},   {20, 2, 2, 20},
        // Corner to corner and along each edge of the bitmap.
        {0, 0, 39, 29},   {39, 29, 0, 0},   {39, 0, 0, 29},   {0, 29, 39, 0},
        {0, 0, 39, 0},    {39, 0, 0, 0},    {0, 29, 39, 29},  {39, 29, 0, 29},
        {0, 0, 0, 29},    {0, 29, 0, 0},    {39, 0, 39, 29},  {39, 29, 39, 0},
        // End points just outside each edge, and on it from outside.
        {40, 15, 0, 15},  {-1, 15, 39, 15}, {20, 30, 20, 0},  {20, -1, 20, 29},
        {-1, -1, 40, 30}, {40, 30, -1, -1}, {40, -1, -1, 30}, {-1, 30, 40, -1},
        {-1, 3, 40, 9},   {40, 9, -1, 3},   {3, -1, 9, 30},   {9, 30, 3, -1},
        {-7, 10, 12, 0},  {12, 0, -7, 10},  {45, 20, 39, 2},  {39, 2, 45, 20},
        // Entirely outside: beside each edge, past a corner, and brushing a corner.
        {-10, -5, -3, 40}, {45, -5, 60, 40}, {-5, -10, 50, -1}, {-5, 30, 50, 45},
        {50, 50, 60, 70},  {-5, 3, 3, -5},   {3, -5, -5, 3},    {44, 29, 39, 34},
        // Far outside, through the bitmap and past it.
        {-100000, 15, 100000, 16},   {100000, 16, -100000, 15},
        {-100000, -100000, 100000, 100000}, {100000, 100000, -100000, -100000},
        {-100000, -37, 100000, 53},  {100000, 53, -100000, -37},
        {17, -100000, 23, 100000},   {23, 100000, 17, -100000},
        {-100000, 100000, 100000, -99960}, {100000, -99960, -100000, 100000},
        {20, 15, 100000, -99999},    {100000, -99999, 20, 15},
        {-100000, -3, 100000, -2},   {-100000, 30, -99000, 31},
        // Out to 2^27, where the arithmetic stops fitting in 32 bits.
        {-kBig, 10, kBig, 20},       {kBig, 20, -kBig, 10},
        {-kBig, -kBig, kBig, kBig},  {kBig, kBig, -kBig, -kBig},
        {-kBig, kBig, kBig, -kBig + 25}, {kBig, -kBig + 25, -kBig, kBig},
        {20, 15, kBig, kBig - 7},    {kBig, kBig - 7, 20, 15},
        {-kBig, 14, 20, 15},         {20, 15, -kBig, 14},
        {3, -kBig, 4, kBig},         {4, kBig, 3, -kBig},
        {-kBig, -kBig / 2, kBig, kBig / 2 + 1}, {kBig, kBig / 2 + 1, -kBig, -kBig / 2},
        {kBig, 0, kBig, 29},         {0, -kBig, 39, -kBig},
    };
    return lines;
}

// A generator of our own, so that both builds draw the same "random" lines.
class Sequence {
public:
    int Next(int low, int high) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low + 1);
        return static_cast<int>(low + static_cast<std::int64_t>((state_ >> 33) % span));
    }

private:
    std::uint64_t state_ = 0x2545F4914F6CDD1DULL;
};

std::vector<Line> GeneratedLines() {
    std::vector<Line> lines;
    Sequence random;
    // Short lines near and across the edges.
    for (int i = 0; i < 150; ++i) {
        lines.push_back({random.Next(-12, 51), random.Next(-12, 41), random.Next(-12, 51),
                         random.Next(-12, 41)});
    }
    // Long lines through a point of the bitmap, with far end points.
    for (int i = 0; i < 50; ++i) {
        const int range = i % 2 == 0 ? 100000 : kBig / 2;
        const int px = random.Next(0, kWidth - 1);
        const int py = random.Next(0, kHeight - 1);
        const int ax = random.Next(-range, range);
        const int ay = random.Next(-range, range);
        lines.push_back({px + ax, py + ay, px - ax + random.Next(-3, 3), py - ay + random.Next(-3, 3)});
    }
    return lines;
}

// Prints the pixels of one line, scanning rows top to bottom. Returns false when a call
// failed.
bool ProbeLine(HDC screen, int number, const Line& line) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HPEN pen = CreatePen(PS_SOLID, 1, kWhite);
    if (dc == nullptr || bitmap == nullptr || pen == nullptr) {
        std::printf("line %d: could not create the device context, bitmap or pen\n", number);
        if (pen != nullptr) DeleteObject(pen);
        if (bitmap != nullptr) DeleteObject(bitmap);
        if (dc != nullptr) DeleteDC(dc);
        return false;
    }
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    // A fresh bitmap happens to be black on Windows, but nothing promises it.
    const BOOL cleared = BitBlt(dc, 0, 0, kWidth, kHeight, dc, 0, 0, BLACKNESS);
    const BOOL moved = MoveToEx(dc, line.x0, line.y0, nullptr);
    const BOOL drawn = LineTo(dc, line.x1, line.y1);

    std::printf("line %d (%d,%d)->(%d,%d):", number, line.x0, line.y0, line.x1, line.y1);
    int set = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF color = GetPixel(dc, x, y);
            if (color == kBlack) continue;
            ++set;
            if (color == kWhite) {
                std::printf(" %d,%d", x, y);
            } else {
                std::printf(" %d,%d=%06lx", x, y, static_cast<unsigned long>(color));
            }
        }
    }
    if (set == 0) std::printf(" none");
    if (!cleared || !moved || !drawn) std::printf(" (a call failed)");
    std::printf("\n");

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteObject(pen);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return cleared && moved && drawn;
}

}  // namespace

int main() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        std::printf("GetDC(NULL) failed\n");
        return 1;
    }
    std::vector<Line> lines = FixedLines();
    const std::vector<Line> generated = GeneratedLines();
    lines.insert(lines.end(), generated.begin(), generated.end());

    bool ok = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ok = ProbeLine(screen, static_cast<int>(i), lines[i]) && ok;
    }
    ReleaseDC(nullptr, screen);
    std::fflush(stdout);
    return ok ? 0 : 1;
}
