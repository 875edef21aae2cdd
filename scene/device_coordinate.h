#pragma once
#include <climits>

// A line end's float position as a device pixel: truncated toward zero, as the drawing
// calls expect. Converting a float outside the int range (or a NaN) is undefined in C++,
// and a runaway point can get there, so such values saturate instead (NaN gives 0).
inline int ToDeviceCoordinate(float value) {
    if (value >= 2147483648.0f) return INT_MAX;
    if (value < -2147483648.0f) return INT_MIN;
    if (value != value) return 0;
    return static_cast<int>(value);
}
