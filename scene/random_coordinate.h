#pragma once
#include <cstdlib>

// A random whole-pixel coordinate along one screen axis, 0 to extent - 1, from the C
// runtime's generator. A platform that reports no screen would make this a division by
// zero; an extent below 1 counts as 1 instead.
inline float RandomCoordinate(int extent) {
    return static_cast<float>(std::rand() % (extent < 1 ? 1 : extent));
}
