#include "platform/standin/line_raster.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace standin {
namespace {

// Pixel k of a line (0 <= k < M, M = |major delta|) lies k steps along the major axis from
// the start and offset(k) steps along the minor axis, where, with m = |minor delta|,
//     offset(k) = floor((2*k*m + c) / (2*M)),   c = M - 1 + (1 if the minor axis runs
//                                                backwards, else 0).
// That is the ideal line rounded to the nearest pixel, halfway points going to the smaller
// coordinate: the choice GDI makes. End points span the whole int range, so M and m reach
// 2^32 - 1 and 2*k*m needs 65 bits; every product below is instead kept under 2^64 by
// splitting it into a quotient and a small remainder first.

// floor(n / d) for d > 0.
std::int64_t FloorDiv(std::int64_t n, std::int64_t d) {
    std::int64_t q = n / d;
    if (n % d < 0) --q;
    return q;
}

// floor((2*M*u - e) / (2*m)) for m >= 1, u <= m + 1, M < 2^32 and |e| < 2^34.
// With u*M = q*m + r (u*M < 2^64) the numerator is 2*m*q + (2*r - e), and 2*r - e is small.
std::int64_t FloorScaled(std::uint64_t M, std::uint64_t m, std::uint64_t u, std::int64_t e) {
    const std::uint64_t product = u * M;
    const auto q = static_cast<std::int64_t>(product / m);
    const auto r = static_cast<std::int64_t>(product % m);
    return q + FloorDiv(2 * r - e, 2 * static_cast<std::int64_t>(m));
}

}  // namespace

void RasterizeLine(const Surface& surface, int x0, int y0, int x1, int y1, std::uint32_t pixel) {
    if (surface.pixels == nullptr || surface.width <= 0 || surface.height <= 0) return;

    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    if (dx == 0 && dy == 0) return;

    // Exact 45-degree lines step along y.
    const bool xMajor = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
    const std::int64_t majorStart = xMajor ? x0 : y0;
    const std::int64_t minorStart = xMajor ? y0 : x0;
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t majorSize = xMajor ? surface.width : surface.height;
    const std::int64_t minorSize = xMajor ? surface.height : surface.width;
    const bool majorForward = majorDelta > 0;
    const bool minorForward = minorDelta >= 0;

    const auto M = static_cast<std::uint64_t>(majorForward ? majorDelta : -majorDelta);
    const auto m = static_cast<std::uint64_t>(minorForward ? minorDelta : -minorDelta);
    const std::int64_t c = static_cast<std::int64_t>(M) - 1 + (minorForward ? 0 : 1);

    // Steps whose major coordinate is inside the surface; the end point itself is never drawn.
    std::int64_t kFirst = majorForward ? -majorStart : majorStart - (majorSize - 1);
    std::int64_t kLast = majorForward ? majorSize - 1 - majorStart : majorStart;
    kFirst = std::max<std::int64_t>(kFirst, 0);
    kLast = std::min<std::int64_t>(kLast, static_cast<std::int64_t>(M) - 1);
    if (kFirst > kLast) return;

    // Offsets whose minor coordinate is inside the surface. offset(k) never decreases and
    // never passes m, so they form one run of steps; narrowing to it here keeps the loop
    // free of per-pixel bounds checks and makes lines that miss the surface cost nothing.
    std::int64_t offsetFirst = minorForward ? -minorStart : minorStart - (minorSize - 1);
    std::int64_t offsetLast = minorForward ? minorSize - 1 - minorStart : minorStart;
    offsetFirst = std::max<std::int64_t>(offsetFirst, 0);
    offsetLast = std::min<std::int64_t>(offsetLast, static_cast<std::int64_t>(m));
    if (offsetFirst > offsetLast) return;
    if (m > 0) {
        // First k with offset(k) >= t: ceil((2*M*t - c) / (2*m)).
        if (offsetFirst > 0) {
            const std::int64_t firstInside =
                FloorScaled(M, m, static_cast<std::uint64_t>(offsetFirst),
                            c - 2 * static_cast<std::int64_t>(m) + 1);
            kFirst = std::max(kFirst, firstInside);
        }
        // Last k with offset(k) <= t: floor((2*M*(t + 1) - c - 1) / (2*m)).
        if (offsetLast < static_cast<std::int64_t>(m)) {
            const std::int64_t lastInside =
                FloorScaled(M, m, static_cast<std::uint64_t>(offsetLast) + 1, c + 1);
            kLast = std::min(kLast, lastInside);
        }
        if (kFirst > kLast) return;
    }

    // offset(kFirst) and the remainder of its division, from k*m = q*M + r (k*m < 2^64).
    const std::uint64_t twoM = 2 * M;
    const std::uint64_t product = static_cast<std::uint64_t>(kFirst) * m;
    const std::uint64_t numerator = 2 * (product % M) + static_cast<std::uint64_t>(c);
    const auto offset = static_cast<std::int64_t>(product / M + numerator / twoM);
    auto remainder = static_cast<std::int64_t>(numerator % twoM);

    const std::int64_t major = majorForward ? majorStart + kFirst : majorStart - kFirst;
    const std::int64_t minor = minorForward ? minorStart + offset : minorStart - offset;
    const std::ptrdiff_t stride = surface.stride;
    const std::ptrdiff_t majorStride = xMajor ? 1 : stride;
    const std::ptrdiff_t minorStride = xMajor ? stride : 1;
    const std::ptrdiff_t majorStep = majorForward ? majorStride : -majorStride;
    const std::ptrdiff_t minorStep = minorForward ? minorStride : -minorStride;

    std::uint32_t* const pixels = surface.pixels;
    std::ptrdiff_t index = static_cast<std::ptrdiff_t>(major) * majorStride +
                           static_cast<std::ptrdiff_t>(minor) * minorStride;
    const auto twoMinor = static_cast<std::int64_t>(2 * m);
    const auto twoMajor = static_cast<std::int64_t>(twoM);
    for (std::int64_t count = kLast - kFirst + 1; count > 0; --count) {
        pixels[index] = pixel;
        index += majorStep;
        remainder += twoMinor;
        if (remainder >= twoMajor) {
            remainder -= twoMajor;
            index += minorStep;
        }
    }
}

}  // namespace standin
