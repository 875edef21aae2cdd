#pragma once
// The moving point behind every line end and both swarm centres.
//
// Every result is fixed to the last bit of a float: values are narrowed to float exactly
// where `Narrow` appears and nowhere else, and the arithmetic in between runs in double.
// Comparisons are plain IEEE comparisons, so a NaN sends every test to its other branch.
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
    const double angle = -static_cast<double>(Narrow((double(PI) + PI) / divisor));
    cos = std::cos(angle);
    sin = std::sin(angle);
}

inline bool Particle::MoveTo(float tx, float ty) {
    // `speed` itself, not its size: a negative speed never arrives.
    if (speed >= std::fabs(double(x) - tx) && speed >= std::fabs(double(y) - ty)) return true;

    if (x == tx) {
        y = Narrow(ty > y ? double(y) + speed : double(y) - speed);
        return false;
    }
    if (y == ty) {
        x = Narrow(tx > x ? double(x) + speed : double(x) - speed);
        return false;
    }

    const float ady = Narrow(std::fabs(double(ty) - y));
    const float adx = Narrow(std::fabs(double(tx) - x));
    const float ratio = Narrow(double(ady) / adx);
    if (adx >= ady) {
        x = Narrow(tx > x ? double(x) + speed : double(x) - speed);
        y = Narrow(ty > y ? double(y) + double(speed) * ratio : double(y) - double(speed) * ratio);
    } else if (ady > adx) {
        x = Narrow(tx > x ? double(x) + double(speed) / ratio : double(x) - double(speed) / ratio);
        y = Narrow(ty > y ? double(y) + speed : double(y) - speed);
    }
    // Neither holds only when a NaN is involved: the point stays put.
    return false;
}

inline bool Particle::RotateTo(float cx, float cy, const Turn& turn) {
    const float dx = Narrow(double(cx) - x);
    const float dy = Narrow(double(cy) - y);
    const float rx = Narrow(turn.cos * dx - turn.sin * dy);
    const float ry = Narrow(turn.sin * dx + turn.cos * dy);
    return MoveTo(Narrow(double(rx) + cx), Narrow(double(ry) + cy));
}

inline bool Particle::ChasePoint(float tx, float ty, float distance) {
    const double ex = double(tx) - x;
    const double ey = double(ty) - y;
    const float squareX = Narrow(ex * ex);
    const float squareY = Narrow(ey * ey);
    const float squareDistance = Narrow(double(distance) * distance);
    if (double(squareX) + squareY > squareDistance) return MoveTo(tx, ty);
    return false;
}
