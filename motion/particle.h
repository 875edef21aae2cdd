#pragma once
// The moving point behind every line end and both swarm centres.
//
// Every result is fixed to the last bit of a float: values are narrowed to float at fixed
// points, and the arithmetic in between runs in double. Where a narrowed value comes from
// a single operation on two floats, the code writes that operation in float: one rounding
// to float gives exactly what the double operation followed by narrowing gives, because
// double carries more than twice float's precision. Everything longer runs in double and
// is narrowed by `Narrow`. Comparisons are plain IEEE comparisons, so a NaN sends every
// test to its other branch.
// The steps are defined here, in the header, because the scene calls them 6000 times a
// frame and a call that the compiler cannot see into costs as much as the step itself.
#include <cmath>

class Particle {
public:
    // The cosine and sine of one step angle, -(PI + PI) / divisor. RotateTo needs them on
    // every call, but a frame only ever uses two divisors, so the scene works them out
    // once per frame instead of 6000 times; the numbers are the same either way.
    struct Turn {
        explicit Turn(float divisor);
        double cos;
        double sin;
    };

    Particle() = default;
    Particle(float x, float y, float speed) : x(x), y(y), speed(speed) {}

    // One straight step toward the target; true, without moving, once the target lies
    // within `speed` on both axes.
    bool MoveTo(float tx, float ty);
    // One MoveTo step toward the point that the particle-to-centre vector, turned by
    // -(PI + PI) / divisor, gives: a straight run at the centre for divisor 1, an inward
    // spiral for 0.13.
    bool RotateTo(float cx, float cy, float divisor) { return RotateTo(cx, cy, Turn(divisor)); }
    bool RotateTo(float cx, float cy, const Turn& turn);
    // One MoveTo step, but only while the target is farther than `distance`.
    bool ChasePoint(float tx, float ty, float distance);

    float x = 0.0f;
    float y = 0.0f;
    float speed = 1.0f;

private:
    static float Narrow(double value) { return static_cast<float>(value); }
};

inline Particle::Turn::Turn(float divisor) {
    const float PI = 3.14159274f;  // the float nearest to pi: angles start from it, not from double pi
    const float theta = (PI + PI) / divisor;  // PI + PI is exact in float as in double
    const double angle = -double(theta);
    cos = std::cos(angle);
    sin = std::sin(angle);
}

inline bool Particle::MoveTo(float tx, float ty) {
    // `speed` itself, not its size: a negative speed never arrives.
    if (speed >= std::fabs(double(x) - tx) && speed >= std::fabs(double(y) - ty)) return true;

    if (x == tx) {
        y = ty > y ? y + speed : y - speed;
        return false;
    }
    if (y == ty) {
        x = tx > x ? x + speed : x - speed;
        return false;
    }

    const float ady = std::fabs(ty - y);
    const float adx = std::fabs(tx - x);
    const float ratio = ady / adx;
    if (adx >= ady) {
        x = tx > x ? x + speed : x - speed;
        y = Narrow(ty > y ? double(y) + double(speed) * ratio : double(y) - double(speed) * ratio);
    } else if (ady > adx) {
        x = Narrow(tx > x ? double(x) + double(speed) / ratio : double(x) - double(speed) / ratio);
        y = ty > y ? y + speed : y - speed;
    }
    // Neither holds only when a NaN is involved: the point stays put.
    return false;
}

inline bool Particle::RotateTo(float cx, float cy, const Turn& turn) {
    const float dx = cx - x;
    const float dy = cy - y;
    const float rx = Narrow(turn.cos * dx - turn.sin * dy);
    const float ry = Narrow(turn.sin * dx + turn.cos * dy);
    return MoveTo(rx + cx, ry + cy);
}

inline bool Particle::ChasePoint(float tx, float ty, float distance) {
    const double ex = double(tx) - x;
    const double ey = double(ty) - y;
    const float squareX = Narrow(ex * ex);
    const float squareY = Narrow(ey * ey);
    const float squareDistance = distance * distance;
    if (double(squareX) + squareY > squareDistance) return MoveTo(tx, ty);
    return false;
}
