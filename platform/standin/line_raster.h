#pragma once
// The pixels of a one-pixel solid line, chosen exactly as GDI chooses them, so that the
// stand-in's pictures match the ones Windows draws pixel for pixel.
#include <cstdint>

#include "platform/standin/control.h"

namespace standin {

// Sets the pixels that GDI sets for a one-pixel solid line from (x0,y0) to (x1,y1): the
// first pixel is drawn, the last one is not, and only what falls inside the surface is
// touched. Any int coordinates are fine; the work done is bounded by the surface's size,
// not by the line's length. A null or empty surface draws nothing.
void RasterizeLine(const Surface& surface, int x0, int y0, int x1, int y1, std::uint32_t pixel);

}  // namespace standin
