// Drawing in the stand-in: lines with the current position, block copies and fills,
// reading a pixel back.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/standin/line_raster.h"
#include "platform/standin/objects.h"

using namespace standin;
using namespace standin::detail;

namespace {

// A COLORREF is 0x00BBGGRR; a surface pixel is 0x00RRGGBB.
std::uint32_t PixelOf(COLORREF color) {
    return std::uint32_t(GetRValue(color)) << 16 | std::uint32_t(GetGValue(color)) << 8 |
           GetBValue(color);
}

COLORREF ColorOf(std::uint32_t pixel) {
    return RGB(BYTE(pixel >> 16), BYTE(pixel >> 8), BYTE(pixel));
}

struct Span {
    long long first;
    long long last;  // one past
};

// The part of [start, start + length) that lies in [0, limit).
Span Clip(long long start, long long length, long long limit) {
    return {std::max(start, 0LL), std::min(start + length, limit)};
}

}  // namespace

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    Record({DrawingCall::Kind::MoveToEx, dc, nullptr, x, y});
    DeviceContext* context = FindDeviceContext(dc);
    if (!context) return FALSE;
    if (previous) *previous = context->position;
    context->position = {x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC dc, int x, int y) {
    Record({DrawingCall::Kind::LineTo, dc, nullptr, x, y});
    DeviceContext* context = FindDeviceContext(dc);
    if (!context) return FALSE;
    // Every pen draws as a solid line one pixel wide: the only kind the saver makes.
    const Pen* pen = FindPen(context->pen);
    const std::uint32_t pixel = pen ? PixelOf(pen->info.color) : 0;
    RasterizeLine(SurfaceOf(*context), context->position.x, context->position.y, x, y, pixel);
    context->position = {x, y};
    return TRUE;
}

BOOL WINAPI BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rasterOperation) {
    const DeviceContext* to = FindDeviceContext(target);
    if (!to) return FALSE;
    const Surface out = SurfaceOf(*to);

    if (rasterOperation == BLACKNESS) {
        const Span columns = Clip(x, width, out.width);
        const Span rows = Clip(y, height, out.height);
        if (columns.first >= columns.last) return TRUE;
        for (long long row = rows.first; row < rows.last; ++row) {
            std::uint32_t* line = out.pixels + row * out.stride;
            std::fill(line + columns.first, line + columns.last, 0u);
        }
        return TRUE;
    }
    if (rasterOperation != SRCCOPY) return FALSE;

    const DeviceContext* from = FindDeviceContext(source);
    if (!from) return FALSE;
    const Surface in = SurfaceOf(*from);
    // Clip against both surfaces at once: a pixel is copied only where both exist.
    const long long shiftX = (long long)sourceX - x;
    const long long shiftY = (long long)sourceY - y;
    Span columns = Clip(x, width, out.width);
    Span rows = Clip(y, height, out.height);
    columns.first = std::max(columns.first, -shiftX);
    columns.last = std::min(columns.last, in.width - shiftX);
    rows.first = std::max(rows.first, -shiftY);
    rows.last = std::min(rows.last, in.height - shiftY);
    if (columns.first >= columns.last) return TRUE;
    const std::size_t bytes = std::size_t(columns.last - columns.first) * sizeof(std::uint32_t);
    for (long long row = rows.first; row < rows.last; ++row) {
        std::memmove(out.pixels + row * out.stride + columns.first,
                     in.pixels + (row + shiftY) * in.stride + columns.first + shiftX, bytes);
    }
    return TRUE;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
    const DeviceContext* context = FindDeviceContext(dc);
    if (!context) return CLR_INVALID;
    const Surface surface = SurfaceOf(*context);
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) return CLR_INVALID;
    return ColorOf(surface.pixels[std::size_t(y) * surface.stride + x]);
}

namespace standin {

void StartRecordingDrawingCalls() {
    TheState().journal.clear();
    TheState().recording = true;
}

std::vector<DrawingCall> StopRecordingDrawingCalls() {
    TheState().recording = false;
    return std::move(TheState().journal);
}

}  // namespace standin
